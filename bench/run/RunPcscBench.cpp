// kestrin-run through a PC/SC reader (the tests' own pcscd with the simulator's
// card in vsmartcard's virtual reader): the time from starting the process to
// the card receiving its first command, less the time the virtual reader itself
// takes to bring a command from a client's transmit to the card (which any
// client pays): how soon kestrin-run hands its first command to the reader.
// Target: within 40 ms.
#include "link/PcscReader.h"
#include "virtualreader/VirtualReader.h"

#include <QCoreApplication>
#include <QProcess>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <functional>
#include <optional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

constexpr int Runs = 20;

// Milliseconds from the start `act` returns to the card's first command during it, if one came.
std::optional<double> ToFirstCommandMs(VirtualReader& reader, const std::function<Clock::time_point()>& act)
{
    std::atomic<Clock::rep> firstCommand{0};
    reader.Card().setLogger([&firstCommand](const QString& line) {
        Clock::rep none = 0;
        if (line.contains(QStringLiteral(" -> ")))
            firstCommand.compare_exchange_strong(none, Clock::now().time_since_epoch().count());
    });
    const Clock::time_point start = act();
    reader.Card().setLogger({});
    if (firstCommand == 0)
        return std::nullopt;
    return std::chrono::duration<double, std::milli>(Clock::duration(firstCommand.load()) - start.time_since_epoch())
        .count();
}

Clock::time_point RunProgram()
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    const Clock::time_point start = Clock::now();
    process.start(QStringLiteral(KESTRIN_RUN_PROGRAM), {"-q", "-d", "pcsc:", "-e", "00 B0 00 00 02"});
    process.waitForFinished();
    if (process.exitCode() != 0)
        std::printf("  exit status %d: %s\n", process.exitCode(), qPrintable(process.readAllStandardError()));
    return start;
}

Clock::time_point TransmitDirectly()
{
    PcscReader client;
    client.Connect(VirtualReader::ReaderName());
    const Clock::time_point start = Clock::now();
    client.Transmit(QByteArray::fromHex("00 B0 00 00 02"));
    return start;
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    VirtualReader reader; // kestrin-run inherits its private pcscd
    std::vector<double> program;
    std::vector<double> direct;
    for (int run = 0; run < Runs; ++run) {
        if (const auto ms = ToFirstCommandMs(reader, RunProgram))
            program.push_back(*ms);
        direct.push_back(ToFirstCommandMs(reader, TransmitDirectly).value_or(0));
    }
    if (program.empty()) {
        std::printf("PC/SC start-up: kestrin-run's command never reached the card\n");
        return 1;
    }
    const double toCard = Median(program);
    const double readerOwn = Median(direct);
    std::printf("PC/SC start-up, median of %zu runs: the card has kestrin-run's first command %.1f ms after the "
                "start (fastest %.1f ms); the virtual reader takes %.1f ms from a client's transmit to the card; so "
                "kestrin-run hands its first command to the reader %.1f ms after its start (target: 40 ms)\n",
                program.size(), toCard, *std::min_element(program.begin(), program.end()), readerOwn, toCard - readerOwn);
    return 0;
}
