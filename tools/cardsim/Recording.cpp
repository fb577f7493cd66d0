#include "Recording.h"

#include "HexBytes.h"

#include "base/KestrinError.h"
#include "trace/Transcript.h"
#include "trace/TranscriptCheck.h"

#include <QDir>
#include <deque>

namespace {

constexpr int kAnyByte = -1;
constexpr quint8 kNull = 0x60;

// Bytes of one direction as the transcript gives them; kAnyByte for "??".
struct ByteEvent {
    bool sent = false;
    QList<int> bytes;
};

std::vector<ByteEvent> ByteEvents(const QStringList& transcript)
{
    std::vector<ByteEvent> events;
    QChar last;
    for (const QString& line : transcript) {
        const QChar mark = line.isEmpty() ? QChar() : line[0];
        if (line == Transcript::Header || !Transcript::IsByteMark(mark)) {
            last = QChar();
            continue;
        }
        if (mark != last)
            events.push_back({mark == Transcript::SentMark, {}});
        last = mark;
        for (const QString& token : line.sliced(1).split(u' ', Qt::SkipEmptyParts))
            events.back().bytes.append(token == u"??" ? kAnyByte : token.toInt(nullptr, 16));
    }
    return events;
}

// A byte sent as "??" is echoed as "??" too; a card's byte is never "??".
bool IsEcho(int sent, int received)
{
    return sent == received || received == kAnyByte;
}

// Walks the events as the card saw them: bytes it received, and runs of bytes it
// sent. Through an echoing interface a byte reaches the card when its echo comes.
template <typename ToCard, typename FromCard>
qsizetype WalkCardSide(const std::vector<ByteEvent>& events, bool echo, ToCard toCard, FromCard fromCard)
{
    std::deque<int> awaitingEcho;
    qsizetype echoed = 0;
    QList<int> run;
    const auto received = [&](int byte) {
        if (!run.isEmpty())
            fromCard(std::exchange(run, {}));
        toCard(byte);
    };
    for (const ByteEvent& event : events) {
        for (const int byte : event.bytes) {
            if (event.sent && echo) {
                awaitingEcho.push_back(byte);
            } else if (event.sent) {
                received(byte);
            } else if (echo && !awaitingEcho.empty() && IsEcho(awaitingEcho.front(), byte)) {
                echoed += byte == awaitingEcho.front() ? 1 : 0; // the bytes that tell an echo
                received(awaitingEcho.front());
                awaitingEcho.pop_front();
            } else {
                run.append(byte);
            }
        }
    }
    for (const int byte : awaitingEcho)
        received(byte);
    if (!run.isEmpty())
        fromCard(run);
    return echoed;
}

bool Echoes(const std::vector<ByteEvent>& events)
{
    qsizetype sent = 0;
    for (const ByteEvent& event : events)
        sent += event.sent ? event.bytes.size() : 0;
    const qsizetype echoed = WalkCardSide(events, true, [](int) {}, [](const QList<int>&) {});
    return sent > 0 && echoed * 2 > sent;
}

// Gathers the card's side into exchanges.
class RecordingBuilder {
public:
    explicit RecordingBuilder(QString name) : m_name(std::move(name)) {}

    void toCard(int byte)
    {
        if (!m_open)
            m_recording.exchanges.emplace_back();
        m_open = true;
        RecordedExchange& exchange = m_recording.exchanges.back();
        if (byte == kAnyByte && exchange.anyByte.isEmpty())
            exchange.anyByte = QByteArray(exchange.command.size(), 0);
        if (!exchange.anyByte.isEmpty())
            exchange.anyByte.append(char(byte == kAnyByte));
        exchange.command.append(char(byte == kAnyByte ? 0 : byte));
    }

    void fromCard(const QList<int>& run)
    {
        const QByteArray bytes = cardBytes(run);
        if (!m_open) {
            if (m_recording.exchanges.empty())
                m_recording.atr += bytes;
            return;
        }
        RecordedExchange& exchange = m_recording.exchanges.back();
        exchange.answers.append({exchange.command.size(), bytes});
        m_open = AwaitsMore(exchange.command, quint8(bytes.back()));
    }

    Recording finish()
    {
        if (m_recording.atr.isEmpty())
            throw KestrinError(QStringLiteral("%1: the recording holds no ATR: it does not begin when a card was "
                                              "reset").arg(m_name));
        return std::move(m_recording);
    }

private:
    static bool AwaitsMore(const QByteArray& command, quint8 last)
    {
        const quint8 ins = command.size() > 1 ? quint8(command[1]) : 0;
        return last == kNull || (command.size() > 1 && (last == ins || last == quint8(~ins)));
    }

    QByteArray cardBytes(const QList<int>& run) const
    {
        QByteArray bytes;
        for (const int byte : run) {
            if (byte == kAnyByte)
                throw KestrinError(QStringLiteral("%1: the card's bytes cannot be ?? in a recording to replay (after "
                                                  "%2)").arg(m_name, lastCommand()));
            bytes.append(char(byte));
        }
        return bytes;
    }

    QString lastCommand() const
    {
        return m_recording.exchanges.empty() ? QStringLiteral("the ATR") : HexText(m_recording.exchanges.back().command);
    }

    const QString m_name;
    Recording m_recording;
    bool m_open = false; // the last exchange awaits more bytes
};

} // namespace

QByteArray RecordedExchange::reply() const
{
    QByteArray bytes;
    for (const Answer& answer : answers)
        bytes += answer.bytes;
    return bytes;
}

Recording ReadRecording(const QStringList& transcript, const QString& name)
{
    const std::vector<ByteEvent> events = ByteEvents(transcript);
    RecordingBuilder builder(name);
    WalkCardSide(events, Echoes(events), [&builder](int byte) { builder.toCard(byte); },
                 [&builder](const QList<int>& run) { builder.fromCard(run); });
    return builder.finish();
}

Recording LoadRecording(const QString& path)
{
    return ReadRecording(LoadTranscript(path), QDir::toNativeSeparators(path));
}
