#include "run/ConsoleHosts.h"

#include "datafile/DataFile.h"
#include "run/ConsoleLog.h"
#include "run/ConsoleText.h"
#include "run/DataFileProgress.h"
#include "run/RunStop.h"
#include "run/TerminalQuestion.h"
#include "script/ScriptInterpreter.h"

void ConsoleLinkHost::LogAtCaret(const QString& text) { m_log.Insert(text); }

void ConsoleTransmitHost::SetLines(const QString& path, QStringList rawLines, QList<qsizetype> lineNumbers)
{
    m_path = path;
    m_lines = std::move(rawLines);
    m_lineNumbers = std::move(lineNumbers);
}

QString ConsoleTransmitHost::RawLinePlace(qsizetype index) { return FileLinePlace(m_path, m_lineNumbers.at(index)); }

QString ConsoleTransmitHost::RawLine(qsizetype index)
{
    m_progress.Reached(index);
    return m_lines.at(index);
}

void ConsoleTransmitHost::LogAtCaret(const QString& text) { m_log.Insert(text); }

// Every line shows the running status; only the texts a script sets are news.
void ConsoleScriptHost::SetStatus(const QString& text, quint32)
{
    if (text != ScriptInterpreter::RunningStatus())
        ConsoleText::SayNote(QStringLiteral("status"), text);
}

std::optional<QString> ConsoleScriptHost::GetParam(int slot, const QString& prompt)
{
    if (m_parameters[slot])
        return m_parameters[slot];
    const QString name = QStringLiteral("P%1").arg(slot + 1);
    if (TerminalQuestion::Available()) {
        if (auto answer = TerminalQuestion::Ask(QStringLiteral("%1 - %2: ").arg(name, prompt)))
            return answer;
    }
    m_stop.Stop(ExitStatus::NoAnswer,
                QStringLiteral("GET(%1) needs a value: '%2' (give --param %1=VALUE)").arg(name, prompt));
    return std::nullopt;
}

void ConsoleScriptHost::WriteLog(const QString& text) { m_log.Insert(text); }
void ConsoleScriptHost::ClearLogs() { m_log.Clear(); }
void ConsoleScriptHost::ShowText(const QString& text) { m_log.Insert(text); }
