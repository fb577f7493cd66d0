#pragma once

#include "script/ScriptHost.h"
#include "script/ScriptLines.h"
#include "script/ScriptState.h"

struct ScriptLevel;

// Runs script lines one at a time, yielding to the window between lines. Each
// run level (the top one, and one per EXEC) has its own line index and loop;
// all share the host and the parameters.
//
// A run ends when its lines are done, when the Active box is found cleared before
// a line, or when the program is closing. Conversion and file errors, and a
// nesting deeper than MaxNesting, end it at every level by an exception
// (KestrinError) that the window shows; the status label keeps what it showed.
class ScriptInterpreter {
public:
    // The top level counts as 1; a script that EXECs itself stops here.
    static constexpr int MaxNesting = 32;
    // The status every line shows while it runs.
    static QString RunningStatus() { return QStringLiteral("Transmitting ..."); }

    ScriptInterpreter(ScriptHost& host, ScriptState& state) : m_host(host), m_state(state) {}

    // Runs the lines as the top run level (the window's WriteScript).
    void Run(ScriptLines& lines);

    // Runs a script file as a run level nested in the current one (EXEC).
    void RunFile(const QString& path);

private:
    void RunLevel(ScriptLines& lines);
    bool MayGoOn();
    void WaitForTurn();
    void RunLine(ScriptLevel& level);

    ScriptHost& m_host;
    ScriptState& m_state;
    int m_depth = 0;
};
