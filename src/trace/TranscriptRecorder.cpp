#include "trace/TranscriptRecorder.h"

#include "trace/TraceFormat.h"
#include "trace/Transcript.h"

#include <QRegularExpression>

namespace {

const QRegularExpression& LineEnd()
{
    static const QRegularExpression lineEnd(QStringLiteral("\r\n|\r|\n"));
    return lineEnd;
}

} // namespace

void TranscriptRecorder::AddBytes(Kind kind, QByteArrayView bytes)
{
    if (bytes.isEmpty())
        return;
    if (m_events.isEmpty() || m_events.last().kind != kind)
        m_events.append({kind, {}, {}});
    m_events.last().bytes.append(bytes);
}

void TranscriptRecorder::Sent(QByteArrayView cardValues)
{
    AddBytes(Kind::Sent, cardValues);
    m_unechoed.append(cardValues);
}

void TranscriptRecorder::Received(QByteArrayView cardValues)
{
    for (const char byte : cardValues) {
        if (IsEcho(byte)) {
            m_heldEchoes.append(byte);
        } else {
            ReleaseEchoes();
            AddBytes(Kind::Received, QByteArrayView(&byte, 1));
        }
    }
}

// The oldest byte sent and not yet repeated; a byte that is not it is the card's
// and ends the wait for any echo (an interface that does not echo never repeats).
bool TranscriptRecorder::IsEcho(char byte)
{
    const bool echo = m_echoed < m_unechoed.size() && m_unechoed[m_echoed] == byte;
    m_echoed = echo ? m_echoed + 1 : m_unechoed.size();
    if (m_echoed == m_unechoed.size()) {
        m_unechoed.clear();
        m_echoed = 0;
    }
    return echo;
}

void TranscriptRecorder::ReleaseEchoes()
{
    AddBytes(Kind::Received, m_heldEchoes);
    m_heldEchoes.clear();
}

void TranscriptRecorder::Follow(const LinkTimeline& timeline)
{
    for (; m_followed < timeline.Size(); ++m_followed) {
        const LinkEvent event = timeline.At(m_followed);
        if (event.kind == LinkEventKind::Sent)
            Sent(event.bytes);
        else if (event.kind == LinkEventKind::Received)
            Received(event.bytes);
    }
}

// A CR at the end may be the first half of a CRLF: it stays held with the line it ends.
void TranscriptRecorder::Text(const QString& text)
{
    ReleaseEchoes();
    m_heldText += text;
    const bool endsInCr = m_heldText.endsWith(u'\r');
    QStringList lines = QStringView(m_heldText).chopped(endsInCr ? 1 : 0).toString().split(LineEnd());
    m_heldText = lines.takeLast() + (endsInCr ? QStringLiteral("\r") : QString());
    for (QString& line : lines)
        m_events.append({Kind::Text, {}, std::move(line)});
}

void TranscriptRecorder::Box(const QString& text)
{
    ReleaseEchoes();
    for (QString& line : text.split(LineEnd()))
        m_events.append({Kind::Box, {}, std::move(line)});
}

QStringList TranscriptRecorder::Lines() const
{
    using namespace Transcript;
    QStringList lines{Header};
    const auto addBytes = [&lines](QChar mark, const QByteArray& bytes) {
        AppendByteLines(lines, mark, bytes.size(), [&bytes](qsizetype start, qsizetype count) {
            return ByteText(QByteArrayView(bytes).sliced(start, count));
        });
    };
    for (const Event& event : m_events) {
        if (event.kind == Kind::Text || event.kind == Kind::Box)
            lines << TextLine(event.kind == Kind::Text ? TextMark : BoxMark, event.text);
        else
            addBytes(event.kind == Kind::Sent ? SentMark : ReceivedMark, event.bytes);
    }
    addBytes(ReceivedMark, m_heldEchoes);
    if (!m_heldText.isEmpty())
        lines << TextLine(TextMark, QStringView(m_heldText).chopped(m_heldText.endsWith(u'\r') ? 1 : 0));
    return lines;
}

QByteArray TranscriptRecorder::FileText() const { return (Lines().join(u'\n') + u'\n').toUtf8(); }
