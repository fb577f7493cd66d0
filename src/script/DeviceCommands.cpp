// MESSAGE, PROMPT, COMM, BAUD, STATUS and WAIT: the serial lines, the operator's
// boxes, the status label and the wait.
#include "script/ScriptCommands.h"

#include "base/Colours.h"
#include "base/MessagePump.h"
#include "base/TextToInt.h"
#include "link/BaudRates.h"
#include "script/ScriptHost.h"
#include "script/ScriptText.h"

#include <QLatin1StringView>

using namespace ScriptText;

namespace {

struct LinePhrase {
    QLatin1StringView phrase;
    LineFunction function;
};

// Applied in this order, each one found anywhere in the line (exact case).
constexpr LinePhrase LinePhrases[] = {
    {QLatin1StringView("SET BREAK"), LineFunction::SetBreak},
    {QLatin1StringView("CLR BREAK"), LineFunction::ClrBreak},
    {QLatin1StringView("CLR DTR"), LineFunction::ClrDtr},
    {QLatin1StringView("SET DTR"), LineFunction::SetDtr},
    {QLatin1StringView("SET RTS"), LineFunction::SetRts},
    {QLatin1StringView("CLR RTS"), LineFunction::ClrRts},
};

} // namespace

// MESSAGE('text'): from character 10 to the end, without the closing quote and parenthesis.
void Commands::Message(CommandContext& context)
{
    context.host.ShowMessage(Inner(context.line, 9, 2));
}

// PROMPT('text',ACTION): an OK/Cancel box, whichever button is pressed the script
// goes on; the actions CANCEL and RESET then show their own name in a box.
void Commands::Prompt(CommandContext& context)
{
    const QStringView rest = QStringView(context.line).sliced(8);
    const qsizetype comma = rest.indexOf(u',');
    // The prompt stops before the closing quote that precedes the comma.
    context.host.AskOkCancel(comma >= 1 ? rest.left(comma - 1).toString() : QString());
    if (MessagePump::Closing())
        return;
    const QString action = Inner(rest, comma + 1, 1);
    if (action == u"CANCEL" || action == u"RESET")
        context.host.ShowMessage(action);
}

// COMM(phrases): the serial-line functions whose phrases the line holds.
void Commands::Comm(CommandContext& context)
{
    const QStringView text = QStringView(context.line).sliced(5);
    for (const LinePhrase& phrase : LinePhrases)
        if (text.contains(phrase.phrase))
            context.host.LineControl(phrase.function);
}

// BAUD("rate"): always logged; only the rates the card interface speaks reach the port.
void Commands::Baud(CommandContext& context)
{
    const qint32 baud = TextToInt(DoubleQuoted(context.line, 5));
    context.host.WriteLog(QStringLiteral("Baud Rate Set To: %1\r\n").arg(baud));
    if (IsCardBaudRate(baud))
        context.host.SetBaudRate(baud);
}

// STATUS('text'): from character 9 (after either quote) to the end, without the
// closing quote and parenthesis; the line already set the status label navy.
void Commands::Status(CommandContext& context)
{
    context.host.SetStatus(Inner(context.line, 8, 2), Colours::Navy);
}

// WAIT("n"): n message-pump passes; the wait ends early when Active is cleared
// (the run then stops before its next line) or the program closes.
void Commands::Wait(CommandContext& context)
{
    const qint32 passes = TextToInt(DoubleQuoted(context.line, 5));
    MessagePump::PumpWhile(passes, [&host = context.host] { return host.Active(); });
}
