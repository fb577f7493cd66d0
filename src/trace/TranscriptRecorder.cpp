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

void TranscriptRecorder::Text(const QString& text)
{
    m_heldText += text;
    QStringList lines = m_heldText.split(LineEnd());
    m_heldText = lines.takeLast();
    for (QString& line : lines)
        m_events.append({Kind::Text, {}, std::move(line)});
}

void TranscriptRecorder::Box(const QString& text)
{
    for (QString& line : text.split(LineEnd()))
        m_events.append({Kind::Box, {}, std::move(line)});
}

QStringList TranscriptRecorder::Lines() const
{
    using namespace Transcript;
    QStringList lines{Header};
    for (const Event& event : m_events) {
        if (event.kind == Kind::Text || event.kind == Kind::Box) {
            lines << TextLine(event.kind == Kind::Text ? TextMark : BoxMark, event.text);
            continue;
        }
        AppendByteLines(lines, event.kind == Kind::Sent ? SentMark : ReceivedMark, event.bytes.size(),
                        [&bytes = event.bytes](qsizetype start, qsizetype count) {
                            return ByteText(QByteArrayView(bytes).sliced(start, count));
                        });
    }
    if (!m_heldText.isEmpty())
        lines << TextLine(TextMark, m_heldText);
    return lines;
}

QByteArray TranscriptRecorder::FileText() const { return (Lines().join(u'\n') + u'\n').toUtf8(); }
