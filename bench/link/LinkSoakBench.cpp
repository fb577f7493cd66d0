// The card link over the card simulator's pseudo-terminal for long runs, with a
// host that shows received bytes as the main window does. Prints:
//  - 1,000,000 random bytes sent through an echoing line (the card silent), the
//    echo compared byte for byte with what was sent, in the response and the log;
//  - 1,000 starts while the card streams: open descriptors and threads before and
//    after, the heap's growth, the longest start.
// Arguments: the number of bytes and of starts.
#include "BenchLink.h"
#include "base/MessagePump.h"
#include "cardsim/CardSimulator.h"
#include "common/Offscreen.h"
#include "common/ProcessFigures.h"
#include "link/CardLink.h"
#include "link/CommandLine.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <cstdio>
#include <random>

namespace {

constexpr int WarmUpStarts = 50;
constexpr qint64 StartPatienceMs = 10'000;

int Entries(const QString& folder)
{
    return int(QDir(folder).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
}

bool SoakEcho(CardSimulator& simulator, CardLink& link, BenchHost& host, qsizetype total)
{
    QByteArray bytes(total, Qt::Uninitialized);
    std::mt19937 random(20261209);
    for (char& byte : bytes)
        byte = char(random());
    simulator.setCardSilent(true);
    MessagePump::PumpTimes(1000);
    host.response.clear();
    host.log.Clear();
    const double cpu = ProcessCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    link.SendBytes(bytes);
    while (host.response.size() < total && wall.elapsed() < 600'000)
        MessagePump::PumpWhenEventArrives();
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    const double cpuUs = (ProcessCpuSeconds() - cpu) * 1e6 / double(total);
    host.log.Flush();
    const bool response = host.response == bytes;
    const bool log = host.log.Text() == ResponseText(bytes);
    const bool card = simulator.received().endsWith(bytes);
    std::printf("echo soak: %lld random bytes sent and echoed in %.2f s (%.0f bytes/s), %.2f us process CPU per byte;"
                " the card %s, the response %s, the Active Log %s\n", qlonglong(total), seconds,
                double(total) / seconds, cpuUs, card ? "got every byte" : "DID NOT GET EVERY BYTE",
                response ? "matches byte for byte" : "DIFFERS", log ? "matches" : "DIFFERS");
    simulator.setCardSilent(false);
    return response && log && card;
}

// One start while the card streams; false when it did not come up in time.
bool StartWhileStreaming(CardSimulator& simulator, CardLink& link, BenchHost& host, double& longestMs)
{
    simulator.sendCount(100'000); // cut short by the start
    MessagePump::PumpTimes(10);
    host.response.clear();
    host.log.Clear();
    const int opens = simulator.opens();
    QElapsedTimer wall;
    wall.start();
    link.Start();
    const bool up = link.Polling() && simulator.waitForOpens(opens + 1, std::chrono::milliseconds(StartPatienceMs));
    longestMs = std::max(longestMs, double(wall.nsecsElapsed()) / 1e6);
    return up;
}

// The timeline is off meanwhile: it keeps what the card streams, whose memory the
// link benchmark measures; here the heap must not grow at all.
bool SoakStarts(CardSimulator& simulator, CardLink& link, BenchHost& host, int starts)
{
    link.SetTimelineRecording(false);
    double longestMs = 0;
    for (int start = 0; start < WarmUpStarts; ++start)
        StartWhileStreaming(simulator, link, host, longestMs);
    const int descriptors = Entries(QStringLiteral("/proc/self/fd"));
    const int threads = Entries(QStringLiteral("/proc/self/task"));
    const qint64 heap = HeapBytesInUse();
    longestMs = 0;
    QElapsedTimer wall;
    wall.start();
    int done = 0;
    while (done < starts && StartWhileStreaming(simulator, link, host, longestMs))
        ++done;
    const double seconds = double(wall.nsecsElapsed()) / 1e9;
    const qint64 heapGrowth = HeapBytesInUse() - heap;
    const int descriptorsAfter = Entries(QStringLiteral("/proc/self/fd"));
    const int threadsAfter = Entries(QStringLiteral("/proc/self/task"));
    std::printf("start cycles: %d of %d starts while the card streams in %.2f s (longest %.1f ms); descriptors %d -> %d, "
                "threads %d -> %d; heap %+lld bytes (%+.0f a start); reports %d\n", done, starts, seconds, longestMs,
                descriptors, descriptorsAfter, threads, threadsAfter, qlonglong(heapGrowth),
                double(heapGrowth) / std::max(done, 1), host.DialogsShown());
    link.SetTimelineRecording(true);
    return done == starts && descriptorsAfter == descriptors && threadsAfter == threads && host.DialogsShown() == 0;
}

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessSet();
    QApplication app(argc, argv);
    const qsizetype total = argc > 1 ? std::max(10, QByteArray(argv[1]).toInt()) : 1'000'000;
    const int starts = argc > 2 ? std::max(1, QByteArray(argv[2]).toInt()) : 1'000;
    BenchLink bench;
    if (!bench.Start())
        return 1;
    const bool echoed = SoakEcho(bench.simulator, bench.link, bench.host, total);
    const bool started = SoakStarts(bench.simulator, bench.link, bench.host, starts);
    return echoed && started ? 0 : 1;
}
