#include "run/ConsoleLog.h"

#include "base/RtfWriter.h"
#include "base/SaveFile.h"
#include "run/ConsoleText.h"
#include "session/LogLineEnds.h"

namespace {

QList<TextRun> Runs(const QString& text)
{
    QList<TextRun> runs;
    const QStringList lines = text.split(u'\n');
    for (qsizetype index = 0; index < lines.size(); ++index) {
        if (index > 0)
            runs << TextRun::LineEnd();
        if (!lines[index].isEmpty()) {
            TextRun run;
            run.text = lines[index];
            runs << run;
        }
    }
    return runs;
}

} // namespace

void ConsoleLog::Insert(const QString& text)
{
    m_text += ActiveLogText::NormalisedLineEnds(text);
    if (m_live)
        ConsoleText::WriteOut(text);
}

void ConsoleLog::Save(const QString& path) const
{
    if (path.endsWith(QLatin1StringView(".rtf"), Qt::CaseInsensitive))
        SaveRtf(path, Runs(m_text));
    else
        SaveFile(path, m_text.toUtf8());
}
