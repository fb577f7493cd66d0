#include "run/RunOptions.h"

#include "base/SaveFile.h"
#include "link/BaudRates.h"

#include <QLatin1StringView>
#include <QRegularExpression>
#include <limits>
#include <unistd.h>

namespace {

// Every number option reads one way: decimal digits, and a fraction where the
// option takes one; no blanks, sign, exponent or words, so " 5", "inf" and
// "1e-300" are refused alike. The value must lie within [least, most].
struct NumberRule {
    bool fraction;
    double least;
    double most;
    const char* what; // "a whole number of milliseconds"
};

double ReadNumber(const QString& option, const QString& value, const NumberRule& rule)
{
    static const QRegularExpression whole(QStringLiteral("^[0-9]+$"));
    static const QRegularExpression decimal(QStringLiteral("^([0-9]+\\.?[0-9]*|\\.[0-9]+)$"));
    const double number = value.toDouble();
    if (!(rule.fraction ? decimal : whole).match(value).hasMatch() || number < rule.least || number > rule.most)
        throw UsageError(QStringLiteral("%1 takes %2 from %3 to %4, not '%5'")
                             .arg(option, QLatin1StringView(rule.what), QString::number(rule.least),
                                  QString::number(rule.most, 'f', 0), value));
    return number;
}

constexpr double MaxWhole = std::numeric_limits<qint32>::max();
constexpr NumberRule Passes{false, 0, MaxWhole, "a whole number of message-pump passes"};
constexpr NumberRule Milliseconds{false, 0, MaxWhole, "a whole number of milliseconds"};
constexpr NumberRule AnswerMilliseconds{false, 1, MaxWhole, "a whole number of milliseconds"};
constexpr NumberRule Cards{false, 1, MaxWhole, "a whole number of cards"};
constexpr NumberRule Descriptor{false, 0, MaxWhole, "a file descriptor's number"};
// A timer's milliseconds are an int: at least one, at most about 24 days.
constexpr NumberRule Seconds{true, 0.001, 2147483, "a number of seconds"};

QString PassesText(const QString& option, const QString& value)
{
    return QString::number(qint32(ReadNumber(option, value, Passes)));
}

int ReadBaud(const QString& value)
{
    for (const int baud : CardBaudRates)
        if (value == QString::number(baud))
            return baud;
    throw UsageError(QStringLiteral("--baud takes 9600, 19200 or 38400, not '%1'").arg(value));
}

void SetParameter(RunOptions& options, const QString& value)
{
    static const QRegularExpression assignment(QStringLiteral("^[Pp]([1-5])=(.*)$"),
                                               QRegularExpression::DotMatchesEverythingOption);
    const QRegularExpressionMatch match = assignment.match(value);
    if (!match.hasMatch())
        throw UsageError(QStringLiteral("--param takes Pn=VALUE with n from 1 to 5, not '%1'").arg(value));
    options.parameters[match.captured(1).toInt() - 1] = match.captured(2);
}

void SetPromptAnswer(RunOptions& options, bool answer)
{
    if (options.promptAnswer && *options.promptAnswer != answer)
        throw UsageError(QStringLiteral("--yes and --no exclude each other"));
    options.promptAnswer = answer;
}

struct Option {
    QLatin1StringView shortName; // empty: long name only
    QLatin1StringView longName;
    bool takesValue;
    void (*apply)(RunOptions&, const QString& value);
};

const Option Options[] = {
    {QLatin1StringView("-d"), QLatin1StringView("--device"), true, [](RunOptions& o, const QString& v) { o.devices << v; }},
    {{}, QLatin1StringView("--byte-delay"), true,
     [](RunOptions& o, const QString& v) { o.byteDelay = PassesText(QStringLiteral("--byte-delay"), v); }},
    {{}, QLatin1StringView("--command-delay"), true,
     [](RunOptions& o, const QString& v) { o.commandDelay = PassesText(QStringLiteral("--command-delay"), v); }},
    {QLatin1StringView("-p"), QLatin1StringView("--param"), true, SetParameter},
    {{}, QLatin1StringView("--yes"), false, [](RunOptions& o, const QString&) { SetPromptAnswer(o, true); }},
    {{}, QLatin1StringView("--no"), false, [](RunOptions& o, const QString&) { SetPromptAnswer(o, false); }},
    {{}, QLatin1StringView("--log"), true, [](RunOptions& o, const QString& v) { o.logPath = v; }},
    {{}, QLatin1StringView("--record"), true, [](RunOptions& o, const QString& v) { o.recordPath = v; }},
    {{}, QLatin1StringView("--check"), true, [](RunOptions& o, const QString& v) { o.checkPath = v; }},
    {{}, QLatin1StringView("--trace"), true, [](RunOptions& o, const QString& v) { o.tracePath = v; }},
    {{}, QLatin1StringView("--pcap"), true, [](RunOptions& o, const QString& v) { o.pcapPath = v; }},
    {{}, QLatin1StringView("--baud"), true, [](RunOptions& o, const QString& v) { o.baud = ReadBaud(v); }},
    {{}, QLatin1StringView("--idle"), true,
     [](RunOptions& o, const QString& v) { o.idleMs = int(ReadNumber(QStringLiteral("--idle"), v, Milliseconds)); }},
    {{}, QLatin1StringView("--answer-timeout"), true,
     [](RunOptions& o, const QString& v) {
         o.answerTimeoutMs = int(ReadNumber(QStringLiteral("--answer-timeout"), v, AnswerMilliseconds));
     }},
    {{}, QLatin1StringView("--timeout"), true,
     [](RunOptions& o, const QString& v) { o.timeoutSeconds = ReadNumber(QStringLiteral("--timeout"), v, Seconds); }},
    {QLatin1StringView("-q"), QLatin1StringView("--quiet"), false, [](RunOptions& o, const QString&) { o.quiet = true; }},
    {{}, QLatin1StringView("--each-card"), false, [](RunOptions& o, const QString&) { o.eachCard = true; }},
    {{}, QLatin1StringView("--cards"), true,
     [](RunOptions& o, const QString& v) { o.cards = int(ReadNumber(QStringLiteral("--cards"), v, Cards)); }},
    {{}, QLatin1StringView("--junit"), true, [](RunOptions& o, const QString& v) { o.junitPath = v; }},
    {{}, QLatin1StringView("--status-fd"), true,
     [](RunOptions& o, const QString& v) { o.statusFd = int(ReadNumber(QStringLiteral("--status-fd"), v, Descriptor)); }},
    {QLatin1StringView("-e"), {}, true,
     [](RunOptions& o, const QString& v) { o.items.append({RunItem::Kind::Line, v}); }},
};

const Option* FindOption(QStringView name)
{
    for (const Option& option : Options)
        if (name == option.shortName || name == option.longName)
            return &option;
    throw UsageError(QStringLiteral("unknown option '%1' (see --help)").arg(name));
}

RunItem FileItem(const QString& path)
{
    const bool script = path.endsWith(QLatin1StringView(".scr"), Qt::CaseInsensitive);
    return {script ? RunItem::Kind::Script : RunItem::Kind::DataFile, path};
}

} // namespace

bool PcapStreams(const RunOptions& options) { return options.pcapPath == u"-"; }

void CheckOutputFiles(const RunOptions& options)
{
    // Every output the run writes at its end, one line each.
    const QString outputs[] = {
        options.logPath,
        options.recordPath,
        options.tracePath,
        PcapStreams(options) ? QString() : options.pcapPath,
    };
    for (const QString& path : outputs)
        if (!path.isEmpty())
            CheckCanSave(path);
    if (PcapStreams(options) && isatty(STDOUT_FILENO))
        throw UsageError(QStringLiteral("--pcap - writes binary packets to standard output, which is a terminal: pipe "
                                        "it (| wireshark -k -i -) or name a file"));
}

CommandLine ParseCommandLine(const QStringList& arguments)
{
    CommandLine line;
    bool optionsEnded = false;
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        const QString& argument = arguments[index];
        if (optionsEnded || !argument.startsWith(u'-') || argument == u"-") {
            line.options.items.append(FileItem(argument));
        } else if (argument == u"--") {
            optionsEnded = true;
        } else if (argument == u"-h" || argument == u"--help") {
            line.action = CommandLine::Action::Help;
        } else if (argument == u"--version") {
            line.action = CommandLine::Action::Version;
        } else {
            // "--name=value" or "--name value"; short options take the next argument.
            const qsizetype equals = argument.startsWith(QLatin1StringView("--")) ? argument.indexOf(u'=') : -1;
            const Option* option = FindOption(equals < 0 ? QStringView(argument) : QStringView(argument).left(equals));
            QString value;
            if (option->takesValue && equals >= 0)
                value = argument.sliced(equals + 1);
            else if (option->takesValue && index + 1 < arguments.size())
                value = arguments[++index];
            else if (option->takesValue || equals >= 0)
                throw UsageError(option->takesValue ? QStringLiteral("%1 needs a value").arg(argument)
                                                    : QStringLiteral("%1 takes no value").arg(argument));
            option->apply(line.options, value);
        }
    }
    if (line.action != CommandLine::Action::Run)
        return line;
    if (line.options.items.isEmpty())
        throw UsageError(QStringLiteral("nothing to run: name a script, a data file or -e LINE (see --help)"));
    if (line.options.cards && !line.options.eachCard)
        throw UsageError(QStringLiteral("--cards counts the cards of --each-card, which is not given"));
    return line;
}

QString UsageText()
{
    return QStringLiteral(
        "Usage: kestrin-run [options] ITEM...\n"
        "Runs scripts, data files and command lines against a smart card without a window.\n"
        "\n"
        "  ITEM             a script (*.scr, any case), a data file (any other file), or\n"
        "                   -e LINE: one hexadecimal command line, as the data sender\n"
        "                   (File > Send Data) sends it\n"
        "                   Items run in order on one link, opened once.\n"
        "  -d, --device DEV the card interface, named as on the Setup page (COM1, ttyUSB0, a path,\n"
        "                   pcsc: for the first PC/SC reader with a card, pcsc:READER for that one);\n"
        "                   default: COM from kestrin.ini. Given more than once, or as pcsc:* (every\n"
        "                   PC/SC reader holding a card), the items run on each interface at once,\n"
        "                   each card in a run of its own: a production line (below)\n"
        "  --byte-delay N, --command-delay N\n"
        "                   BYTE DELAY / COMMAND DELAY in message-pump passes; default from\n"
        "                   kestrin.ini, else 0\n"
        "  -p, --param Pn=VALUE\n"
        "                   the answer a GET(Pn, ...) gets without asking (repeatable)\n"
        "  --yes | --no     the answer every PROMPT box gets\n"
        "  --log FILE       the Active Log at the end: RTF when FILE ends in .rtf, plain text otherwise\n"
        "  --record FILE    write this run's transcript\n"
        "  --check FILE     compare this run's transcript with FILE: what was sent, received and\n"
        "                   shown, each in its own order (?? matches any byte)\n"
        "  --trace FILE     write the decoded T=0 trace of the card link as text\n"
        "  --pcap FILE      write it as a pcap file that Wireshark and tshark decode; - streams\n"
        "                   its packets to standard output as they settle, in place of the log\n"
        "                   (kestrin-run --pcap - ... | wireshark -k -i -)\n"
        "  --baud RATE      switch the line to 9600, 19200 or 38400 baud once the card has\n"
        "                   answered the reset, before the first item\n"
        "  --idle MS        after the start, each -e line and the last item, once the card owes\n"
        "                   nothing (no ATR under way, no command unanswered, nothing left to send),\n"
        "                   go on receiving until the line has been silent for MS milliseconds\n"
        "                   (default 200); a complete ATR ends the wait after the start at once\n"
        "  --answer-timeout MS\n"
        "                   while the card owes something, end the run (status 7) once it has\n"
        "                   been silent for MS milliseconds (default 10000); each byte, a NULL\n"
        "                   byte 60 among them, starts the wait again\n"
        "  --timeout S      end the run after S seconds (a fraction allowed: 2.5)\n"
        "  -q, --quiet      nothing on standard output\n"
        "  --version, --help\n"
        "\n"
        "Production line:\n"
        "  --each-card      card after card in each PC/SC reader: wait for a card, run the items,\n"
        "                   wait for it to leave, until SIGINT (the cards under way finish)\n"
        "  --cards N        end --each-card after N cards in all\n"
        "  --junit FILE     write a JUnit report: a testsuite per interface, a testcase per card\n"
        "                   and item\n"
        "  --status-fd N    write status lines (atr, item, end) on descriptor N\n"
        "  In the names of --log, --record, --check, --trace and --pcap, {device} stands for\n"
        "  the interface's name as a file name and {n} for the card's number. The Active Log\n"
        "  and messages of each card come with \"[INTERFACE #N] \" in front of every line; a\n"
        "  table of the cards ends the run on standard error, and the exit status is the\n"
        "  highest of the cards'.\n"
        "\n"
        "Exit status: 0 done (and --check matched), 1 the transcript differs from --check,\n"
        "2 usage or file error, 3 the card interface could not be opened or was lost,\n"
        "4 the run ended on an error, 5 an answer was needed and none could be had,\n"
        "6 bytes sent never reached the card (a PC/SC reader passed on no header with CLA FF,\n"
        "INS 6x or 9x, nor anything while RTS held the card in reset),\n"
        "7 the card owed an answer and gave none within --answer-timeout,\n"
        "124 --timeout expired, 130 interrupted. A run that ends while the card still owes\n"
        "something says what on standard error.\n");
}
