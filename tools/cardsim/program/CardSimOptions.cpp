#include "CardSimOptions.h"

#include "base/ProgramMessages.h"
#include "cardsim/HexBytes.h"
#include "cardsim/VpcdProtocol.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

// The virtual reader's port: the one positional argument, or vpcd's default.
quint16 VpcdPort(const QStringList& arguments)
{
    if (arguments.isEmpty())
        return Vpcd::kDefaultPort;
    bool ok = false;
    const uint port = arguments.first().toUInt(&ok);
    if (arguments.size() > 1 || !ok || port == 0 || port > 0xFFFF)
        Fail(QStringLiteral("'%1' is not a port number").arg(arguments.join(' ')));
    return quint16(port);
}

QByteArray HexOption(const QString& text, qsizetype size = -1)
{
    const std::optional<QByteArray> bytes = ParseHexBytes(text);
    if (!bytes || (size >= 0 && bytes->size() != size))
        Fail(QStringLiteral("'%1' is not %2").arg(text, size == 2 ? QStringLiteral("a status word of two hexadecimal bytes")
                                                                  : QStringLiteral("a list of hexadecimal bytes")));
    return *bytes;
}

void Exclude(const QCommandLineParser& parser, const QStringList& names, const QString& why)
{
    int given = 0;
    for (const QString& name : names)
        given += parser.isSet(name) ? 1 : 0;
    if (given > 1)
        Fail(why);
}

void AddOptions(QCommandLineParser& parser)
{
    parser.setApplicationDescription(
        QStringLiteral("A card interface and smart card on a pseudo-terminal, or a smart card in vsmartcard's virtual "
                       "reader (--vpcd, port 35963 unless one is given). The card is the sample card, a profile's "
                       "(--profile) or a recorded one (--replay)."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions({
        {QStringLiteral("link"), QStringLiteral("Make a symbolic link to the device."), QStringLiteral("path")},
        {QStringLiteral("no-echo"), QStringLiteral("Do not echo received bytes.")},
        {QStringLiteral("atr"), QStringLiteral("The answer to reset, in hexadecimal."), QStringLiteral("hex")},
        {QStringLiteral("vpcd"), QStringLiteral("Be the card in the virtual reader of pcscd's vpcd driver.")},
        {QStringLiteral("profile"), QStringLiteral("Be the card this profile describes."), QStringLiteral("file")},
        {QStringLiteral("replay"), QStringLiteral("Be the card of this transcript, answering as it did."), QStringLiteral("file")},
        {QStringLiteral("any-order"), QStringLiteral("With --replay: match commands wherever they stand in the recording.")},
        {QStringLiteral("unknown"), QStringLiteral("With --replay: the status word for commands not recorded (6D 00)."), QStringLiteral("sw")},
        {QStringLiteral("strict"), QStringLiteral("With --replay: exit with status 1 at the first command not recorded.")},
        {QStringLiteral("profile-from"), QStringLiteral("Print the profile that this transcript implies, and exit."), QStringLiteral("file")},
    });
    parser.addPositionalArgument(QStringLiteral("port"), QStringLiteral("With --vpcd: the virtual reader's port."), QStringLiteral("[port]"));
}

void CheckCombinations(const QCommandLineParser& parser)
{
    const bool vpcd = parser.isSet(QStringLiteral("vpcd"));
    if (vpcd && (parser.isSet(QStringLiteral("link")) || parser.isSet(QStringLiteral("no-echo"))))
        Fail(QStringLiteral("--link and --no-echo are for the pseudo-terminal, not --vpcd"));
    if (!vpcd && !parser.positionalArguments().isEmpty())
        Fail(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    Exclude(parser, {QStringLiteral("profile"), QStringLiteral("replay"), QStringLiteral("profile-from")},
            QStringLiteral("--profile, --replay and --profile-from exclude one another"));
    for (const QString& name : {QStringLiteral("any-order"), QStringLiteral("unknown"), QStringLiteral("strict")})
        if (parser.isSet(name) && !parser.isSet(QStringLiteral("replay")))
            Fail(QStringLiteral("--%1 is for --replay").arg(name));
}

} // namespace

void Fail(const QString& message, int status)
{
    ProgramMessages::Fail(QCoreApplication::applicationName(), message, status);
}

CardSimOptions ParseCardSimOptions(const QStringList& arguments)
{
    QCommandLineParser parser;
    AddOptions(parser);
    if (!parser.parse(arguments))
        Fail(ProgramMessages::ParserError(parser));
    if (parser.isSet(QStringLiteral("help")))
        parser.showHelp();
    if (parser.isSet(QStringLiteral("version")))
        parser.showVersion();
    CheckCombinations(parser);
    CardSimOptions options;
    options.vpcd = parser.isSet(QStringLiteral("vpcd"));
    options.port = options.vpcd ? VpcdPort(parser.positionalArguments()) : 0;
    options.linkPath = parser.value(QStringLiteral("link"));
    options.echo = !parser.isSet(QStringLiteral("no-echo"));
    if (parser.isSet(QStringLiteral("atr")))
        options.atr = HexOption(parser.value(QStringLiteral("atr")));
    options.profilePath = parser.value(QStringLiteral("profile"));
    options.replayPath = parser.value(QStringLiteral("replay"));
    options.replay.anyOrder = parser.isSet(QStringLiteral("any-order"));
    if (parser.isSet(QStringLiteral("unknown")))
        options.replay.unknownStatus = HexOption(parser.value(QStringLiteral("unknown")), 2);
    options.strict = parser.isSet(QStringLiteral("strict"));
    options.profileFromPath = parser.value(QStringLiteral("profile-from"));
    return options;
}
