// kestrin-cardsim [--link PATH] [--no-echo] [--atr HEX]
// Prints the device path on its first line, then "ready", and runs until
// SIGINT, SIGTERM or SIGHUP (its terminal closed); each command answered is
// logged on standard error. Exit status 2 for a wrong command line.
#include "cardsim/CardSimulator.h"
#include "cardsim/HexBytes.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <csignal>
#include <cstdio>
#include <system_error>

namespace {

void Fail(const QString& message)
{
    std::fprintf(stderr, "kestrin-cardsim: %s\n", qPrintable(message));
    std::exit(2);
}

void Say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

int RunSimulator(const QString& linkPath, bool echo, const QByteArray& atr, const sigset_t& stopSignals)
{
    CardSimulator simulator(linkPath);
    simulator.setEcho(echo);
    simulator.setAtr(atr);
    simulator.setLogger([](const QString& line) { std::fprintf(stderr, "%s\n", qPrintable(line)); });
    Say(simulator.devicePath());
    Say(linkPath.isEmpty() ? QStringLiteral("ready") : QStringLiteral("ready, linked at %1").arg(linkPath));
    int signal = 0;
    sigwait(&stopSignals, &signal);
    Say(QStringLiteral("stopped"));
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrin-cardsim"));
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("A card interface and smart card on a pseudo-terminal."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption link(QStringLiteral("link"), QStringLiteral("Make a symbolic link to the device."), QStringLiteral("path"));
    const QCommandLineOption noEcho(QStringLiteral("no-echo"), QStringLiteral("Do not echo received bytes."));
    const QCommandLineOption atr(QStringLiteral("atr"), QStringLiteral("The answer to reset, in hexadecimal."), QStringLiteral("hex"));
    parser.addOptions({link, noEcho, atr});
    if (!parser.parse(QCoreApplication::arguments()))
        Fail(parser.errorText());
    if (parser.isSet(help))
        parser.showHelp();
    if (!parser.positionalArguments().isEmpty())
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
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    try {
        return RunSimulator(parser.value(link), !parser.isSet(noEcho), *atrBytes, stopSignals);
    } catch (const std::system_error& error) {
        Fail(QString::fromLocal8Bit(error.what()));
    }
    return 1;
}
