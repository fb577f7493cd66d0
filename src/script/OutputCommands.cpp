// PRINT, PRINTLN, FEED and DISPLAY: text into the display window and the Active
// Log, pieces of the response, and the display window's look.
#include "script/ScriptCommands.h"

#include "base/Colours.h"
#include "base/TextToInt.h"
#include "script/ScriptHost.h"
#include "script/ScriptState.h"
#include "script/ScriptText.h"

#include <QLatin1StringView>
#include <optional>

using namespace ScriptText;

namespace {

// Byte k of the response (from 1) is its characters 3k-2 to 3k: two digits and a blank.
qint64 ByteStart(qint64 byte) { return 3 * byte - 2; }

void FeedClear(CommandContext& context, const QString&) { context.host.ClearResponse(); }

void FeedAll(CommandContext& context, const QString&) { context.host.DoText(context.host.Response()); }

// PRINT SET n: the number from character 11 of the argument on.
void FeedSet(CommandContext& context, const QString& argument)
{
    context.state.printPos = TextToInt(argument.mid(10));
}

// PRINT +n: n bytes from the print position (from the first byte below 2), which moves on by n.
void FeedAdvance(CommandContext& context, const QString& argument)
{
    const qint32 count = TextToInt(argument.mid(7));
    const qint32 position = context.state.printPos;
    const qint64 start = position < 2 ? 1 : ByteStart(position);
    context.host.DoText(Piece(context.host.Response(), start, 3 * qint64(count)));
    context.state.printPos = WrappingAdd(position, count);
}

// PRINT a,b: b bytes from byte a; nothing for a below 1. Without a comma the
// text before it is empty and fails to convert.
void FeedRange(CommandContext& context, const QString& argument)
{
    const QString text = argument.mid(6);
    const qsizetype comma = text.indexOf(u',');
    const qint32 first = TextToInt(comma < 0 ? QString() : text.left(comma));
    const qint32 count = TextToInt(text.mid(comma + 1));
    if (first >= 1)
        context.host.DoText(Piece(context.host.Response(), ByteStart(first), 3 * qint64(count)));
}

struct FeedAction {
    QLatin1StringView keyword;
    void (*run)(CommandContext&, const QString&);
};

// Tried in this order on the upper-cased argument; the first that begins it wins.
constexpr FeedAction FeedActions[] = {
    {QLatin1StringView("CLEAR"), FeedClear},
    {QLatin1StringView("PRINT ALL"), FeedAll},
    {QLatin1StringView("PRINT SET"), FeedSet},
    {QLatin1StringView("PRINT +"), FeedAdvance},
    {QLatin1StringView("PRINT"), FeedRange},
};

struct DisplayAction {
    QLatin1StringView argument;
    void (*run)(ScriptHost&);
};

constexpr DisplayAction DisplayActions[] = {
    {QLatin1StringView("ON"), [](ScriptHost& host) { host.SetEcho(true); }},
    {QLatin1StringView("OFF"), [](ScriptHost& host) { host.SetEcho(false); }},
    {QLatin1StringView("CLEAR"), [](ScriptHost& host) { host.ClearLogs(); }},
    {QLatin1StringView("ZOOM IN"), [](ScriptHost& host) { host.ShowDisplay(); }},
    {QLatin1StringView("ZOOM OUT"), [](ScriptHost& host) { host.HideDisplay(); }},
    {QLatin1StringView("BOLD ON"), [](ScriptHost& host) { host.SetDisplayBold(true); }},
    {QLatin1StringView("ITALIC ON"), [](ScriptHost& host) { host.SetDisplayItalic(true); }},
    {QLatin1StringView("BOLD OFF"), [](ScriptHost& host) { host.SetDisplayBold(false); }},
    {QLatin1StringView("ITALIC OFF"), [](ScriptHost& host) { host.SetDisplayItalic(false); }},
};

struct ColourWord {
    QLatin1StringView word;
    quint32 colour;
};

constexpr ColourWord ColourWords[] = {
    {QLatin1StringView("BLACK"), Colours::Black}, {QLatin1StringView("RED"), Colours::Red},
    {QLatin1StringView("WHITE"), Colours::White}, {QLatin1StringView("BLUE"), Colours::Blue},
    {QLatin1StringView("GREEN"), Colours::Green}, {QLatin1StringView("YELLOW"), Colours::Yellow},
    {QLatin1StringView("LIME"), Colours::Lime},
};

// The colour of "<prefix><colour word>", exact case and a single blank in the prefix.
std::optional<quint32> ColourOf(const QString& argument, QLatin1StringView prefix)
{
    if (!argument.startsWith(prefix))
        return std::nullopt;
    for (const ColourWord& word : ColourWords)
        if (QStringView(argument).sliced(prefix.size()) == word.word)
            return word.colour;
    return std::nullopt;
}

} // namespace

void Commands::Print(CommandContext& context) { context.host.DoText(DoubleQuoted(context.line, 6)); }

void Commands::PrintLine(CommandContext& context)
{
    context.host.DoText(DoubleQuoted(context.line, 8) + QStringLiteral("\r\n"));
}

void Commands::Feed(CommandContext& context)
{
    const QString argument = DoubleQuoted(context.line, 5);
    for (const FeedAction& action : FeedActions) {
        if (BeginsWith(argument, action.keyword)) {
            action.run(context, argument);
            return;
        }
    }
}

// DISPLAY("argument"): the whole argument, exact case, names one action.
void Commands::Display(CommandContext& context)
{
    const QString argument = DoubleQuoted(context.line, 8);
    for (const DisplayAction& action : DisplayActions)
        if (argument == action.argument)
            action.run(context.host);
    if (const auto colour = ColourOf(argument, QLatin1StringView("BKCOLOR ")))
        context.host.SetDisplayBackground(*colour);
    if (const auto colour = ColourOf(argument, QLatin1StringView("FRCOLOR ")))
        context.host.SetDisplayTextColour(*colour);
}
