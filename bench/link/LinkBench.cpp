// The card link against the card simulator over its pseudo-terminal, through the
// real worker and serial port, with a host that shows received bytes as the main
// window does (the response text and an Active Log on screen, echo on). Prints the
// idle processor time, the receive throughput of a fast stream, the software time
// per byte sent and the length of one message-pump pass, each with its target.
// Argument: the number of bytes in the stream (1,000,000).
#include "BenchHost.h"
#include "ReceiveStream.h"
#include "base/MessagePump.h"
#include "cardsim/CardSimulator.h"
#include "common/Offscreen.h"
#include "common/ProcessFigures.h"
#include "link/CardLink.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <cstdio>

namespace {

constexpr std::chrono::seconds IdleTime{5};
constexpr int SentBytes = 10'000;
constexpr int PumpPasses = 100'000;

bool StartAndTakeAtr(CardLink& link, BenchHost& host)
{
    link.Start();
    QElapsedTimer wall;
    wall.start();
    while (link.Polling() && host.response.isEmpty() && wall.elapsed() < 10'000)
        MessagePump::PumpOnce();
    MessagePump::PumpTimes(1000); // the rest of the ATR and the log's batch
    return link.Polling() && !host.response.isEmpty();
}

void MeasurePumpPass()
{
    QElapsedTimer wall;
    wall.start();
    MessagePump::PumpTimes(PumpPasses);
    std::printf("message-pump pass with nothing pending: %.2f us on average over %d (at least %lld us by design)\n",
                wall.nsecsElapsed() / 1e3 / PumpPasses, PumpPasses,
                qlonglong(std::chrono::duration_cast<std::chrono::microseconds>(MessagePump::MinimumPass).count()));
}

void MeasureIdle()
{
    const QString workerName = QStringLiteral("TComm");
    const double process = ProcessCpuSeconds();
    const double worker = ThreadCpuSeconds(workerName);
    QElapsedTimer wall;
    wall.start();
    QEventLoop loop;
    QTimer::singleShot(IdleTime, Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
    const double seconds = wall.nsecsElapsed() / 1e9;
    std::printf("idle polling link over %.1f s: whole process %.3f%% of one core", seconds,
                100 * (ProcessCpuSeconds() - process) / seconds);
    if (worker >= 0) // counted in clock ticks, usually 10 ms
        std::printf(", worker thread %.3f%%", 100 * (ThreadCpuSeconds(workerName) - worker) / seconds);
    std::printf(" (target under 1%%)\n");
}

bool MeasureSend(CardSimulator& simulator, CardLink& link)
{
    QByteArray bytes;
    for (int i = 0; i < SentBytes; ++i)
        bytes.append(char(quint8(i ^ (i >> 8))));
    simulator.clearReceived();
    const double cpu = ProcessCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    link.SendBytes(bytes);
    const double wallUs = wall.nsecsElapsed() / 1e3 / SentBytes;
    const double cpuUs = (ProcessCpuSeconds() - cpu) * 1e6 / SentBytes;
    const bool all = simulator.waitForReceived(SentBytes, std::chrono::seconds(30)) && simulator.received() == bytes;
    std::printf("sending %d bytes with BYTE DELAY 0: %.2f us wall, %.2f us process CPU per byte (target under 20 us); "
                "%s\n", SentBytes, wallUs, cpuUs, all ? "all arrived once, in order" : "BYTES LOST OR CHANGED");
    return all;
}

bool MeasureReceive(CardSimulator& simulator, BenchHost& host, qsizetype total)
{
    const QString before = MemoryFigure(QStringLiteral("VmHWM"));
    const ReceiveFigures figures = ReceiveStream(simulator, host, total);
    std::printf("receiving %lld bytes: %.0f bytes/s overall (target at least 100,000), %.2f s\n", qlonglong(total),
                figures.seconds > 0 ? total / figures.seconds : 0.0, figures.seconds);
    std::printf("  first tenth %.0f bytes/s, last tenth %.0f bytes/s (last/first %.2f)\n",
                total / 10 / figures.firstTenth, total / 10 / figures.lastTenth, figures.firstTenth / figures.lastTenth);
    std::printf("  longest gap between two runs of a 10 ms timer: %.1f ms (target under 100 ms)\n",
                figures.longestTimerGap);
    std::printf("  response %s, Active Log %s\n", figures.responseComplete ? "complete" : "INCOMPLETE",
                figures.logComplete ? "complete" : "INCOMPLETE");
    std::printf("  peak memory VmHWM %s (before the stream %s; target at most 64 MB)\n",
                qPrintable(figures.peakMemory), qPrintable(before));
    return figures.responseComplete && figures.logComplete;
}

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessSet();
    QApplication app(argc, argv);
    const qsizetype total = argc > 1 ? std::max(10, QByteArray(argv[1]).toInt()) : 1'000'000;
    CardSimulator simulator;
    BenchHost host(simulator.devicePath());
    CardLink link(host);
    if (!StartAndTakeAtr(link, host)) {
        std::fprintf(stderr, "the link did not start on %s\n", qPrintable(simulator.devicePath()));
        return 1;
    }
    MeasurePumpPass();
    MeasureIdle();
    // The stream comes before any sending, whose echoes and answers would mingle with it.
    const bool received = MeasureReceive(simulator, host, total);
    const bool sent = MeasureSend(simulator, link);
    return sent && received && host.DialogsShown() == 0 ? 0 : 1;
}
