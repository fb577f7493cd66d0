// kestrin-cardsim [--link PATH] [--no-echo] [CARD]
// kestrin-cardsim --vpcd [PORT] [CARD]
// kestrin-cardsim --profile-from TRANSCRIPT
// CARD: [--atr HEX] [--profile FILE | --replay TRANSCRIPT [--any-order] [--unknown SW] [--strict]]
// Prints the device path (or the virtual reader's port) on its first line, then
// "ready", and runs until SIGINT, SIGTERM or SIGHUP (its terminal closed); each
// command answered is logged on standard error. With --vpcd, SIGUSR1 pulls the
// card out of the reader and SIGUSR2 inserts it again. Exit status 2 for a wrong
// command line, profile or recording; 1 when --strict met a command not recorded.
#include "CardSimOptions.h"

#include "cardsim/CardProfileFile.h"
#include "cardsim/CardSimulator.h"
#include "cardsim/RecordedProfile.h"
#include "cardsim/T0Session.h"
#include "cardsim/VpcdSimulator.h"

#include "base/KestrinError.h"

#include <QCoreApplication>
#include <atomic>
#include <csignal>
#include <cstdio>
#include <system_error>

namespace {

// Set when --strict met a command the recording does not hold.
std::atomic<bool> g_unknownCommand = false;

void Say(const QString& line)
{
    std::printf("%s\n", qPrintable(line));
    std::fflush(stdout);
}

void LogLine(const QString& line)
{
    std::fprintf(stderr, "%s\n", qPrintable(line));
}

struct ChosenCard {
    std::unique_ptr<T0Card> card;
    QByteArray atr;
    Pace answerPace;
};

// Told of a command the recording does not hold, on the simulator's thread.
void UnknownCommand(const QString& line, bool strict)
{
    std::fprintf(stderr, "kestrin-cardsim: %s\n", qPrintable(line));
    if (!strict || g_unknownCommand.exchange(true))
        return;
    std::fprintf(stderr, "kestrin-cardsim: stopping (--strict)\n");
    kill(getpid(), SIGTERM); // to the process: the main thread's sigwait takes it
}

// Throws KestrinError or FileError for a profile or recording that cannot be read.
ChosenCard ChooseCard(const CardSimOptions& options)
{
    ChosenCard chosen;
    if (!options.replayPath.isEmpty()) {
        Recording recording = LoadRecording(options.replayPath);
        chosen.atr = recording.atr;
        const bool strict = options.strict;
        chosen.card = std::make_unique<ReplayCard>(std::move(recording), options.replay,
                                                   [strict](const QString& line) { UnknownCommand(line, strict); });
    } else {
        const CardProfile profile = options.profilePath.isEmpty() ? CardProfile() : LoadCardProfile(options.profilePath);
        chosen.atr = profile.atr;
        chosen.answerPace = {profile.answerBaud};
        chosen.card = std::make_unique<T0Session>(profile);
    }
    chosen.atr = options.atr.value_or(chosen.atr);
    return chosen;
}

int WaitForStop(const sigset_t& stopSignals)
{
    int signal = 0;
    sigwait(&stopSignals, &signal);
    Say(QStringLiteral("stopped"));
    return g_unknownCommand ? 1 : 0;
}

int RunSimulator(const CardSimOptions& options, ChosenCard chosen, const sigset_t& stopSignals)
{
    CardSimulator simulator(options.linkPath);
    simulator.setEcho(options.echo);
    simulator.setAtr(chosen.atr);
    simulator.setAnswerPace(chosen.answerPace);
    simulator.setCard(std::move(chosen.card));
    simulator.setLogger(LogLine);
    Say(simulator.devicePath());
    Say(options.linkPath.isEmpty() ? QStringLiteral("ready") : QStringLiteral("ready, linked at %1").arg(options.linkPath));
    return WaitForStop(stopSignals);
}

int RunVpcdSimulator(quint16 port, ChosenCard chosen, const sigset_t& stopSignals)
{
    VpcdSimulator simulator(port, chosen.atr);
    simulator.setCard(std::move(chosen.card));
    simulator.setLogger(LogLine);
    Say(QStringLiteral("vpcd port %1").arg(port));
    Say(QStringLiteral("ready"));
    sigset_t awaited = stopSignals;
    sigaddset(&awaited, SIGUSR1);
    sigaddset(&awaited, SIGUSR2);
    int signal = 0;
    while (sigwait(&awaited, &signal) == 0 && (signal == SIGUSR1 || signal == SIGUSR2))
        simulator.setInserted(signal == SIGUSR2);
    Say(QStringLiteral("stopped"));
    return g_unknownCommand ? 1 : 0;
}

int PrintRecordedProfile(const QString& transcriptPath)
{
    const CardProfile profile = RecordedProfile(LoadRecording(transcriptPath));
    const QStringList comment{
        QStringLiteral("The card of the recording %1, as far as it shows it: the files it selected, with").arg(transcriptPath),
        QStringLiteral("the bytes it read (FF where it read none), and the PINs it verified. Check each"),
        QStringLiteral("file's type, size and access, and add what the recording did not read."),
        QString()};
    std::printf("%s\n", CardProfileText(profile, comment).toUtf8().constData());
    return 0;
}

// Blocked before the simulator's thread starts, so only sigwait sees them. A
// shell starts background jobs with SIGINT ignored, and an ignored signal never
// reaches sigwait.
sigset_t BlockSignals()
{
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
    return stopSignals;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrin-cardsim"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRIN_VERSION));
    const CardSimOptions options = ParseCardSimOptions(QCoreApplication::arguments());
    try {
        if (!options.profileFromPath.isEmpty())
            return PrintRecordedProfile(options.profileFromPath);
        ChosenCard chosen = ChooseCard(options);
        const sigset_t stopSignals = BlockSignals();
        if (options.vpcd)
            return RunVpcdSimulator(options.port, std::move(chosen), stopSignals);
        return RunSimulator(options, std::move(chosen), stopSignals);
    } catch (const KestrinError& error) {
        Fail(error.message());
    } catch (const std::system_error& error) {
        Fail(QString::fromLocal8Bit(error.what()));
    }
}
