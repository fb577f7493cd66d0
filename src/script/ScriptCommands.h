#pragma once

#include <QString>

class ScriptHost;
class ScriptInterpreter;
struct ScriptLevel;
struct ScriptState;

// What a command works on: the trimmed line, in the case it was written, and the
// run level that holds it.
struct CommandContext {
    ScriptInterpreter& interpreter;
    ScriptHost& host;
    ScriptState& state;
    ScriptLevel& level;
    const QString& line;
};

// Runs the first command of the table whose keyword begins the line; a line that
// begins with none of them does nothing.
void DispatchCommand(CommandContext& context);

// The handlers, one per command. Character numbers in their comments count from 1.
namespace Commands {
void Nothing(CommandContext& context);
void Send(CommandContext& context);
void SendValue(CommandContext& context);
void Get(CommandContext& context);
void ExecSingleQuoted(CommandContext& context);
void ExecDoubleQuoted(CommandContext& context);
void Repeat(CommandContext& context);
void EndRepeat(CommandContext& context);
void Increment(CommandContext& context);
void Message(CommandContext& context);
void Prompt(CommandContext& context);
void Comm(CommandContext& context);
void Baud(CommandContext& context);
void Status(CommandContext& context);
void Wait(CommandContext& context);
void Print(CommandContext& context);
void PrintLine(CommandContext& context);
void Feed(CommandContext& context);
void Display(CommandContext& context);
} // namespace Commands
