// kestrin-run, the built program, against the card simulator: the time from
// starting the process to the port being open, and the 100,000-line script
// benchmark run headless, in lines per second, beside the window's figure for
// the same script in this same run.
#include "WindowScriptRun.h"
#include "cardsim/CardSimulator.h"
#include "common/Offscreen.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr int StartRuns = 10;
constexpr std::chrono::minutes Patience{5};

struct Timings {
    double toOpen = 0; // seconds from the process's start to the port open
    double total = 0;  // to the process's end
};

Timings TimeRun(CardSimulator& simulator, const QStringList& items)
{
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    const int opens = simulator.opens();
    QElapsedTimer timer;
    timer.start();
    process.start(QStringLiteral(KESTRIN_RUN_PROGRAM),
                  QStringList{"-q", "-d", simulator.devicePath()} + items);
    Timings timings;
    if (!simulator.waitForOpens(opens + 1, Patience))
        std::printf("  the port was never opened: %s\n", qPrintable(process.readAllStandardError()));
    timings.toOpen = timer.nsecsElapsed() / 1e9;
    process.waitForFinished(int(std::chrono::milliseconds(Patience).count()));
    timings.total = timer.nsecsElapsed() / 1e9;
    if (process.exitCode() != 0)
        std::printf("  exit status %d: %s\n", process.exitCode(), qPrintable(process.readAllStandardError()));
    return timings;
}

void StartUp(CardSimulator& simulator)
{
    std::vector<double> times;
    for (int run = 0; run < StartRuns; ++run)
        times.push_back(TimeRun(simulator, {"-e", "00"}).toOpen * 1000);
    std::sort(times.begin(), times.end());
    std::printf("start-up to the port open, %d runs: median %.1f ms, fastest %.1f ms, slowest %.1f ms\n", StartRuns,
                times[times.size() / 2], times.front(), times.back());
}

double HeadlessLinesPerSecond(CardSimulator& simulator, const QString& scriptPath)
{
    const Timings timings = TimeRun(simulator, {"--idle", "0", scriptPath});
    return BenchScriptLines / (timings.total - timings.toOpen);
}

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessSet();
    QApplication app(argc, argv);
    CardSimulator simulator;
    StartUp(simulator);

    QTemporaryDir folder;
    const QString scriptPath = folder.filePath(QStringLiteral("bench.scr"));
    QFile script(scriptPath);
    if (!script.open(QIODevice::WriteOnly) || script.write((BenchScriptText() + u'\n').toUtf8()) < 0)
        return 1;
    script.close();
    std::printf("script benchmark, %d lines (REM, INC, empty), one message-pump pass each:\n", BenchScriptLines);
    std::printf("  kestrin-run (from the port open to the end): %.0f lines/s\n",
                HeadlessLinesPerSecond(simulator, scriptPath));
    WindowScriptRun window;
    std::printf("  the main window (Send Data, first run):      %.0f lines/s\n",
                BenchScriptLines / window.RunSeconds());
    return 0;
}
