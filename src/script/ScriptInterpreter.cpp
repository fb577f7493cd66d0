#include "script/ScriptInterpreter.h"

#include "base/Colours.h"
#include "base/KestrinError.h"
#include "base/MessagePump.h"
#include "script/ScriptCommands.h"
#include "script/ScriptFile.h"
#include "script/ScriptLevel.h"
#include "script/ScriptText.h"

#include <QDir>
#include <QScopedValueRollback>

void ScriptInterpreter::Run(ScriptLines& lines)
{
    RunLevel(lines);
}

void ScriptInterpreter::RunFile(const QString& path)
{
    if (m_depth >= MaxNesting)
        throw KestrinError(QStringLiteral("The script %1 was not run: scripts may nest at most %2 levels deep, "
                                          "so the run was stopped")
                               .arg(QDir::toNativeSeparators(path))
                               .arg(MaxNesting));
    StringListLines lines(SplitScriptLines(ReadScriptText(path)));
    RunLevel(lines);
}

void ScriptInterpreter::RunLevel(ScriptLines& lines)
{
    const QScopedValueRollback depth(m_depth, m_depth + 1);
    ScriptLevel level{lines};
    while (!level.ended && level.index < lines.Count() && MayGoOn()) {
        WaitForTurn();
        // The pass may have closed the program or changed the lines under us.
        if (MessagePump::Closing() || level.index >= lines.Count())
            return;
        m_host.SetStatus(RunningStatus(), Colours::Navy);
        RunLine(level);
        ++level.index;
    }
}

// A closing program stops the run as a cleared Active box does.
bool ScriptInterpreter::MayGoOn()
{
    return m_host.Active() && !MessagePump::Closing();
}

// One pass, then passes while paused; Active is not looked at during the pause.
void ScriptInterpreter::WaitForTurn()
{
    MessagePump::PumpOnce();
    while (m_host.Paused() && !MessagePump::Closing())
        MessagePump::PumpOnce();
}

// The line is written back trimmed (only when that changes it) and then dispatched.
void ScriptInterpreter::RunLine(ScriptLevel& level)
{
    const QString line = level.lines.Line(level.index);
    if (line.isEmpty())
        return;
    const QString trimmed = ScriptText::Trimmed(line);
    if (trimmed.size() != line.size())
        level.lines.SetLine(level.index, trimmed);
    CommandContext context{*this, m_host, m_state, level, trimmed};
    DispatchCommand(context);
}
