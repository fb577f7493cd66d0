// SEND, SENDVAL, GET, EXEC, REPEAT, ENDREPEAT and INC: the commands that send card
// data, fill the parameters and steer the run.
#include "script/ScriptCommands.h"

#include "base/TextToInt.h"
#include "link/HexToken.h"
#include "script/ScriptFile.h"
#include "script/ScriptHost.h"
#include "script/ScriptInterpreter.h"
#include "script/ScriptLevel.h"
#include "script/ScriptState.h"
#include "script/ScriptText.h"

#include <QDir>

using namespace ScriptText;

namespace {

// EXEC('name') or EXEC("name"): the upper-cased name from character 7 up to the
// closing quote of the same kind, without blanks around it.
void Exec(CommandContext& context, QChar quote)
{
    const QString name = Trimmed(UpTo(AsciiUpper(QStringView(context.line).sliced(6)), quote));
    const QString folder = context.host.ScriptFolder();
    const QString path = FindScriptFile(folder, name);
    if (path.isEmpty()) {
        context.host.ShowMessage(QStringLiteral("Script Not Found!\r\n") + QDir::toNativeSeparators(folder + u'/' + name));
        context.level.ended = true;
        return;
    }
    context.interpreter.RunFile(path);
}

} // namespace

// SEND('hex'): the text from character 7 up to the next single quote, unchanged.
void Commands::Send(CommandContext& context)
{
    context.host.SendCommand(UpTo(QStringView(context.line).sliced(6), u'\''));
}

// SENDVAL(Pn): characters 9 and 10, upper-cased, name the parameter.
void Commands::SendValue(CommandContext& context)
{
    if (const auto slot = ParameterSlot(AsciiUpper(QStringView(context.line).mid(8, 2))))
        context.host.SendCommand(context.state.parameters[*slot]);
}

// GET(Pn,'prompt'): characters 5 and 6 name the parameter; the prompt is the first
// quoted text from character 7 on. Cancel stores the empty text.
void Commands::Get(CommandContext& context)
{
    const auto slot = ParameterSlot(AsciiUpper(QStringView(context.line).mid(4, 2)));
    if (!slot)
        return;
    const QString prompt = BetweenQuotes(QStringView(context.line).mid(6));
    context.state.parameters[*slot] = context.host.GetParam(*slot, prompt).value_or(QString());
}

void Commands::ExecSingleQuoted(CommandContext& context) { Exec(context, u'\''); }
void Commands::ExecDoubleQuoted(CommandContext& context) { Exec(context, u'"'); }

// REPEAT(n): opens the level's loop, replacing one already open.
void Commands::Repeat(CommandContext& context)
{
    const qint32 total = TextToInt(UpTo(QStringView(context.line).sliced(7), u')'));
    context.level.loop = {true, total, 1, context.level.index, 0};
}

// ENDREPEAT: back to the line after REPEAT, or on past the first ENDREPEAT met
// once the last pass is done. The run loop steps past the index set here.
void Commands::EndRepeat(CommandContext& context)
{
    LoopState& loop = context.level.loop;
    if (!loop.active)
        return;
    if (loop.end == 0)
        loop.end = context.level.index;
    if (loop.pass == loop.total) {
        loop.active = false;
        context.level.index = loop.end;
    } else {
        context.level.index = loop.start;
    }
    loop.pass = WrappingAdd(loop.pass, 1);
}

// INC(P1): P1's leading hexadecimal number plus one, as upper-case hexadecimal.
// A P1 that does not begin with a number counts as 0.
void Commands::Increment(CommandContext& context)
{
    if (UpTo(QStringView(context.line).sliced(4), u')') != u"P1")
        return;
    QString& p1 = context.state.parameters[0];
    p1 = HexText(ScanHex(p1).value_or(0) + 1);
}
