// kestrin-cardsim [--link PATH] [--no-echo] [--atr HEX]
// kestrin-cardsim --vpcd [PORT] [--atr HEX]
// Prints the device path (or the virtual reader's port) on its first line, then
// "ready", and runs until SIGINT, SIGTERM or SIGHUP (its terminal closed); each
// command answered is logged on standard error. With --vpcd, SIGUSR1 pulls the
// card out of the reader and SIGUSR2 inserts it again. Exit status 2 for a wrong
// command line.
#include "base/ProgramMessages.h"
#include "cardsim/CardSimulator.h"
#include "cardsim/HexBytes.h"
#include "cardsim/VpcdSimulator.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <system_error>

namespace {

void Fail(const QString& message)
{
    ProgramMessages::Fail(QCoreApplication::applicationName(), message, 2);
}

void Say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

void LogLine(const QString& line)
{
    std::fprintf(stderr, "%s\n", qPrintable(line));
}

int WaitForStop(const sigset_t& stopSignals)
{
    int signal = 0;
    sigwait(&stopSignals, &signal);
    Say(QStringLiteral("stopped"));
    return 0;
}

int RunSimulator(const QString& linkPath, bool echo, const QByteArray& atr, const sigset_t& stopSignals)
{
    CardSimulator simulator(linkPath);
    simulator.setEcho(echo);
    simulator.setAtr(atr);
    simulator.setLogger(LogLine);
    Say(simulator.devicePath());
    Say(linkPath.isEmpty() ? QStringLiteral("ready") : QStringLiteral("ready, linked at %1").arg(linkPath));
    return WaitForStop(stopSignals);
}

int RunVpcdSimulator(quint16 port, const QByteArray& atr, const sigset_t& stopSignals)
{
    VpcdSimulator simulator(port, atr);
    simulator.setLogger(LogLine);
    Say(QStringLiteral("vpcd port %1").arg(port));
    Say(QStringLiteral("ready"));
    sigset_t awaited = stopSignals;
    sigaddset(&awaited, SIGUSR1);
    sigaddset(&awaited, SIGUSR2);
    for (int signal = 0; sigwait(&awaited, &signal) == 0 && (signal == SIGUSR1 || signal == SIGUSR2);)
        simulator.setInserted(signal == SIGUSR2);
    Say(QStringLiteral("stopped"));
    return 0;
}

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

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrin-cardsim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRIN_VERSION));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A card interface and smart card on a pseudo-terminal, or a smart card in "
                                                    "vsmartcard's virtual reader (--vpcd, port 35963 unless one is given)."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    const QCommandLineOption link(QStringLiteral("link"), QStringLiteral("Make a symbolic link to the device."), QStringLiteral("path"));
    const QCommandLineOption noEcho(QStringLiteral("no-echo"), QStringLiteral("Do not echo received bytes."));
    const QCommandLineOption atr(QStringLiteral("atr"), QStringLiteral("The answer to reset, in hexadecimal."), QStringLiteral("hex"));
    const QCommandLineOption vpcd(QStringLiteral("vpcd"), QStringLiteral("Be the card in the virtual reader of pcscd's vpcd driver."));
    parser.addOptions({link, noEcho, atr, vpcd});
    parser.addPositionalArgument(QStringLiteral("port"), QStringLiteral("With --vpcd: the virtual reader's port."), QStringLiteral("[port]"));
    if (!parser.parse(QCoreApplication::arguments()))
        Fail(ProgramMessages::ParserError(parser));
    if (parser.isSet(help))
        parser.showHelp();
    if (parser.isSet(version))
        parser.showVersion();
    if (parser.isSet(vpcd) && (parser.isSet(link) || parser.isSet(noEcho)))
        Fail(QStringLiteral("--link and --no-echo are for the pseudo-terminal, not --vpcd"));
    if (!parser.isSet(vpcd) && !parser.positionalArguments().isEmpty())
        Fail(QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().first()));
    const auto atrBytes = parser.isSet(atr) ? ParseHexBytes(parser.value(atr)) : SimCard::DefaultAtr();
    if (!atrBytes)
        Fail(QStringLiteral("'%1' is not a list of hexadecimal bytes").arg(parser.value(atr)));

    // Blocked before the simulator's thread starts, so only sigwait sees them.
    // A shell starts background jobs with SIGINT ignored, and an ignored signal
    // never reaches sigwait.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    for (const int stop : {SIGINT, SIGTERM, SIGHUP}) {
        std::signal(stop, SIG_DFL);
        sigaddset(&stopSignals, stop);
    }
    sigset_t blocked = stopSignals;
    sigaddset(&blocked, SIGUSR1);
    sigaddset(&blocked, SIGUSR2);
    pthread_sigmask(SIG_BLOCK, &blocked, nullptr);
    try {
        if (parser.isSet(vpcd))
            return RunVpcdSimulator(VpcdPort(parser.positionalArguments()), *atrBytes, stopSignals);
        return RunSimulator(parser.value(link), !parser.isSet(noEcho), *atrBytes, stopSignals);
    } catch (const std::system_error& error) {
        Fail(QString::fromLocal8Bit(error.what()));
    }
    return 1;
}
