#include "trace/TranscriptLayout.h"

#include "trace/Transcript.h"

#include <array>

namespace {

using namespace Transcript;

// Writes the items of a transcript's streams as lines, in the order asked for.
class StreamWriter {
public:
    explicit StreamWriter(const TranscriptStreams& streams) : m_streams(streams), m_joiner(m_lines) {}

    // The next items of the line's stream, as many as the line holds.
    void TakeLike(QStringView line)
    {
        if (IsByteMark(line[0])) {
            const QStringList& stream = Stream(line[0]);
            qsizetype& taken = m_taken[Index(line[0])];
            const qsizetype count = std::min(ByteTexts(line).size(), stream.size() - taken);
            m_joiner.Add(line[0], stream.sliced(taken, count));
            taken += count;
        } else if (m_shownTaken < m_streams.shown.size()) {
            m_joiner.Flush();
            m_lines << m_streams.shown[m_shownTaken++];
        }
    }

    // The items of a line of the streams' own transcript (walked in order) that no take reached.
    void AddUntaken(QStringView line)
    {
        if (IsByteMark(line[0])) {
            const qsizetype count = ByteTexts(line).size();
            qsizetype& walked = m_walked[Index(line[0])];
            const qsizetype from = std::clamp(m_taken[Index(line[0])] - walked, qsizetype(0), count);
            m_joiner.Add(line[0], Stream(line[0]).sliced(walked + from, count - from));
            walked += count;
        } else if (m_shownWalked++ >= m_shownTaken) {
            m_joiner.Flush();
            m_lines << line.toString();
        }
    }

    QStringList Lines()
    {
        m_joiner.Flush();
        return m_lines;
    }

private:
    static int Index(QChar mark) { return mark == SentMark ? 0 : 1; }
    const QStringList& Stream(QChar mark) const { return mark == SentMark ? m_streams.sent : m_streams.received; }

    const TranscriptStreams& m_streams;
    QStringList m_lines{Header};
    EventJoiner m_joiner;
    std::array<qsizetype, 2> m_taken{};
    std::array<qsizetype, 2> m_walked{};
    qsizetype m_shownTaken = 0;
    qsizetype m_shownWalked = 0;
};

} // namespace

TranscriptStreams::TranscriptStreams(const QStringList& lines)
{
    for (const QString& line : lines.sliced(1)) {
        if (line.isEmpty())
            continue;
        if (line[0] == SentMark)
            sent += ByteTexts(line);
        else if (line[0] == ReceivedMark)
            received += ByteTexts(line);
        else
            shown << line;
        if (sent.isEmpty())
            answerToReset = received.size();
    }
}

QStringList LaidOutAs(const QStringList& expected, const QStringList& seen)
{
    const TranscriptStreams streams(seen);
    StreamWriter writer(streams);
    for (const QString& line : expected.sliced(1))
        if (!line.isEmpty())
            writer.TakeLike(line);
    for (const QString& line : seen.sliced(1))
        if (!line.isEmpty())
            writer.AddUntaken(line);
    return writer.Lines();
}
