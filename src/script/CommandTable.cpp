#include "script/ScriptCommands.h"
#include "script/ScriptText.h"

#include <QLatin1StringView>

namespace {

struct Command {
    QLatin1StringView keyword;
    void (*run)(CommandContext&);
};

// Tried in this order; the first keyword that begins the line wins.
constexpr Command CommandTable[] = {
    {QLatin1StringView("REM"), Commands::Nothing},
    {QLatin1StringView("SEND('"), Commands::Send},
    {QLatin1StringView("SENDVAL("), Commands::SendValue},
    {QLatin1StringView("GET("), Commands::Get},
    {QLatin1StringView("EXEC('"), Commands::ExecSingleQuoted},
    {QLatin1StringView("EXEC(\""), Commands::ExecDoubleQuoted},
    {QLatin1StringView("REPEAT("), Commands::Repeat},
    {QLatin1StringView("ENDREPEAT"), Commands::EndRepeat},
    {QLatin1StringView("RESET"), Commands::Nothing},
    {QLatin1StringView("INC("), Commands::Increment},
    {QLatin1StringView("MESSAGE('"), Commands::Message},
    {QLatin1StringView("PROMPT('"), Commands::Prompt},
    {QLatin1StringView("COMM("), Commands::Comm},
    {QLatin1StringView("BAUD("), Commands::Baud},
    {QLatin1StringView("STATUS("), Commands::Status},
    {QLatin1StringView("WAIT("), Commands::Wait},
    {QLatin1StringView("PRINT("), Commands::Print},
    {QLatin1StringView("PRINTLN("), Commands::PrintLine},
    {QLatin1StringView("FEED("), Commands::Feed},
    {QLatin1StringView("DISPLAY("), Commands::Display},
};

} // namespace

void DispatchCommand(CommandContext& context)
{
    for (const Command& command : CommandTable) {
        if (ScriptText::BeginsWith(context.line, command.keyword)) {
            command.run(context);
            return;
        }
    }
}

void Commands::Nothing(CommandContext&) {}
