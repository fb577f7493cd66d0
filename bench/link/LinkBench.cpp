// The card link against the card simulator over its pseudo-terminal, through the
// real worker and serial port, with a host that shows received bytes as the main
// window does (the response text and an Active Log on screen, echo on). Prints the
// idle processor time, the receive throughput of a fast stream (also with the
// link's timeline recorded against without), the software time per byte sent and
// the length of one message-pump pass, each with its target.
// Argument: the number of bytes in the stream (1,000,000).
#include "BenchLink.h"
#include "ReceiveStream.h"
#include "SendTurns.h"
#include "base/MessagePump.h"
#include "cardsim/CardSimulator.h"
#include "common/Offscreen.h"
#include "common/ProcessFigures.h"
#include "link/CardLink.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <vector>

namespace {

constexpr std::chrono::seconds IdleTime{5};
constexpr int SentBytes = 10'000;
constexpr int SendTurns = 5;
constexpr int PumpPasses = 100'000;
constexpr int TimelineTurns = 7;

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values.empty() ? 0.0 : values[values.size() / 2];
}

double BytesPerSecond(const ReceiveFigures& figures, qsizetype total)
{
    return figures.seconds > 0 ? double(total) / figures.seconds : 0.0;
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

// Turns of sending, the median turn by processor time printed with its threads.
bool MeasureSend(CardSimulator& simulator, CardLink& link)
{
    QByteArray bytes;
    for (int i = 0; i < SentBytes; ++i)
        bytes.append(char(quint8(i ^ (i >> 8))));
    std::vector<SendTurn> turns;
    bool complete = true;
    for (int turn = 0; turn < SendTurns; ++turn) {
        turns.push_back(SendOnce(simulator, link, bytes));
        complete = complete && turns.back().complete;
    }
    std::sort(turns.begin(), turns.end(), [](const SendTurn& a, const SendTurn& b) { return a.cpuUs < b.cpuUs; });
    const SendTurn& median = turns[turns.size() / 2];
    std::printf("sending %d bytes with BYTE DELAY 0, median of %d turns: %.2f us wall until the send returns, %.2f us "
                "until the card has them, %.2f us process CPU per byte (target under 10 us; least %.2f, most %.2f); "
                "%s\n", SentBytes, SendTurns, median.wallUs, median.lineWallUs, median.cpuUs, turns.front().cpuUs,
                turns.back().cpuUs, complete ? "all arrived once, in order" : "BYTES LOST OR CHANGED");
    std::printf("  CPU per byte by thread:");
    for (auto thread = median.threadUs.cbegin(); thread != median.threadUs.cend(); ++thread)
        if (thread.value() >= 0.01)
            std::printf(" %s %.2f us", qPrintable(thread.key()), thread.value());
    std::printf("\n");
    return complete;
}

bool MeasureReceive(CardSimulator& simulator, BenchHost& host, qsizetype total)
{
    const QString before = MemoryFigure(QStringLiteral("VmHWM"));
    const ReceiveFigures figures = ReceiveStream(simulator, host, total);
    std::printf("receiving %lld bytes: %.0f bytes/s overall (target at least 100,000), %.2f s\n", qlonglong(total),
                BytesPerSecond(figures, total), figures.seconds);
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

// The receive figure with the link's timeline recorded and without, in turns, so
// a busy machine's noise hits both alike; the median of each is compared.
bool CompareTimelineCost(CardSimulator& simulator, BenchHost& host, CardLink& link, qsizetype total)
{
    std::vector<double> rates[2]; // without, with
    std::vector<double> cpuNs[2];
    bool complete = true;
    for (int run = 0; run < 2 * TimelineTurns; ++run) {
        const bool recording = run % 2;
        link.SetTimelineRecording(recording);
        const qsizetype eventsBefore = link.Timeline().Size();
        const ReceiveFigures figures = ReceiveStream(simulator, host, total);
        complete = complete && figures.responseComplete && figures.logComplete;
        complete = complete && (link.Timeline().Size() > eventsBefore) == recording;
        rates[recording].push_back(BytesPerSecond(figures, total));
        cpuNs[recording].push_back(figures.cpuSeconds * 1e9 / double(total));
    }
    link.SetTimelineRecording(true);
    const double with = Median(rates[1]);
    const double without = Median(rates[0]);
    std::printf("receiving %lld bytes, median of %d turns each: %.0f bytes/s with the timeline, %.0f bytes/s without "
                "(with/without %.2f, target at least 0.90)\n", qlonglong(total), TimelineTurns, with, without,
                without > 0 ? with / without : 0.0);
    std::printf("  process CPU per received byte, median: %.1f ns with the timeline, %.1f ns without\n",
                Median(cpuNs[1]), Median(cpuNs[0]));
    const LinkTimeline& timeline = link.Timeline();
    qint64 traffic = 0;
    for (qsizetype i = 0; i < timeline.Size(); ++i)
        traffic += timeline.At(i).bytes.size();
    std::printf("  timeline: %lld events, %.2f bytes of memory per byte of traffic (target at most 16)\n",
                qlonglong(timeline.Size()), traffic > 0 ? double(timeline.MemoryBytes()) / double(traffic) : 0.0);
    return complete;
}

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessSet();
    QApplication app(argc, argv);
    const qsizetype total = argc > 1 ? std::max(10, QByteArray(argv[1]).toInt()) : 1'000'000;
    BenchLink bench;
    if (!bench.Start())
        return 1;
    auto& [simulator, host, link] = bench;
    MeasurePumpPass();
    MeasureIdle();
    // The stream comes before any sending, whose echoes and answers would mingle with it.
    const bool received = MeasureReceive(simulator, host, total) && CompareTimelineCost(simulator, host, link, total);
    const bool sent = MeasureSend(simulator, link);
    return sent && received && host.DialogsShown() == 0 ? 0 : 1;
}
