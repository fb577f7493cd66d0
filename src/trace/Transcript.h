#pragma once

#include <QChar>
#include <QLatin1StringView>
#include <QString>
#include <QStringList>

// The transcript of a run: one event a line, readable and comparable with diff,
// independent of timing and of how bytes were split into reads.
//   > bytes the program sent (card values, before the inverse-convention transform)
//   < bytes received (card values; an echoing interface's echo among them)
//   | a line of text written by PRINT, PRINTLN or FEED
//   ! the text of a MESSAGE or PROMPT box, a line each
// An event of bytes takes as many lines as it needs, BytesPerLine bytes each,
// every line with its mark. The first line names the format; lines beginning
// with "#" are comments.
namespace Transcript {

inline constexpr QLatin1StringView Header("# kestrin transcript 1");
inline constexpr qsizetype BytesPerLine = 16;

inline constexpr QChar SentMark{u'>'};
inline constexpr QChar ReceivedMark{u'<'};
inline constexpr QChar TextMark{u'|'};
inline constexpr QChar BoxMark{u'!'};

inline bool IsByteMark(QChar mark) { return mark == SentMark || mark == ReceivedMark; }

// Appends the lines of one event of `count` bytes; chunkText(start, n) gives the
// text of bytes start .. start + n - 1 ("3F 00 A4").
template <typename ChunkText>
void AppendByteLines(QStringList& lines, QChar mark, qsizetype count, ChunkText chunkText)
{
    for (qsizetype start = 0; start < count; start += BytesPerLine)
        lines << QString(mark) + u' ' + chunkText(start, qMin(BytesPerLine, count - start));
}

// The byte texts of a line of bytes written the recorder's way ("> 00 A4").
inline QStringList ByteTexts(QStringView line)
{
    return line.sliced(1).toString().split(u' ', Qt::SkipEmptyParts);
}

// Gathers the bytes of consecutive lines of one direction and writes them out
// as one event when another kind of line comes.
class EventJoiner {
public:
    explicit EventJoiner(QStringList& lines) : m_lines(lines) {}

    // A line of no bytes is no event: the lines around it stay one event.
    void Add(QChar mark, const QStringList& byteTexts)
    {
        if (byteTexts.isEmpty())
            return;
        if (mark != m_mark)
            Flush();
        m_mark = mark;
        m_byteTexts += byteTexts;
    }

    void Flush()
    {
        AppendByteLines(m_lines, m_mark, m_byteTexts.size(), [this](qsizetype start, qsizetype count) {
            return m_byteTexts.sliced(start, count).join(u' ');
        });
        m_byteTexts.clear();
        m_mark = QChar();
    }

private:
    QStringList& m_lines;
    QChar m_mark;
    QStringList m_byteTexts;
};

// A line of text or box text with its mark.
inline QString TextLine(QChar mark, QStringView text)
{
    QString line(mark);
    line += u' ';
    return line.append(text);
}

} // namespace Transcript
