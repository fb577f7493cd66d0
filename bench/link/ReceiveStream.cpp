#include "ReceiveStream.h"

#include "BenchHost.h"
#include "cardsim/CardSimulator.h"
#include "common/ProcessFigures.h"
#include "link/CommandLine.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QTimer>
#include <chrono>
#include <vector>

namespace {

constexpr std::chrono::milliseconds Tick{10};
constexpr std::chrono::minutes Patience{5};

// The bytes 00 01 .. FF 00 .., `total` of them.
QByteArray ExpectedBytes(qsizetype total)
{
    QByteArray bytes(total, Qt::Uninitialized);
    for (qsizetype i = 0; i < total; ++i)
        bytes[i] = char(i & 0xFF);
    return bytes;
}

// Nanoseconds from the start at which each tenth of the stream had arrived.
std::vector<qint64> FollowTenths(BenchHost& host, QEventLoop& loop, const QElapsedTimer& clock, qsizetype total)
{
    std::vector<qint64> marks;
    host.onResponse = [&] {
        const qsizetype bytes = host.response.size();
        while (marks.size() < 10 && bytes >= total * qsizetype(marks.size() + 1) / 10)
            marks.push_back(clock.nsecsElapsed());
        if (marks.size() == 10)
            loop.quit();
    };
    QTimer::singleShot(Patience, &loop, &QEventLoop::quit);
    loop.exec();
    host.onResponse = nullptr;
    return marks;
}

} // namespace

ReceiveFigures ReceiveStream(CardSimulator& simulator, BenchHost& host, qsizetype total)
{
    ReceiveFigures figures;
    host.response.clear();
    host.log.Clear();
    QElapsedTimer clock;
    qint64 lastTick = 0;
    QTimer ticker;
    ticker.setTimerType(Qt::PreciseTimer);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        figures.longestTimerGap = std::max(figures.longestTimerGap, (clock.nsecsElapsed() - lastTick) / 1e6);
        lastTick = clock.nsecsElapsed();
    });
    QEventLoop loop;
    const double cpu = ProcessCpuSeconds();
    clock.start();
    ticker.start(Tick);
    simulator.sendCount(total);
    const std::vector<qint64> marks = FollowTenths(host, loop, clock, total);
    ticker.stop();
    figures.cpuSeconds = ProcessCpuSeconds() - cpu;
    if (marks.size() == 10) {
        figures.seconds = marks[9] / 1e9;
        figures.firstTenth = marks[0] / 1e9;
        figures.lastTenth = (marks[9] - marks[8]) / 1e9;
    }
    // Before the checks below, whose copies of the text are the bench's own.
    figures.peakMemory = MemoryFigure(QStringLiteral("VmHWM"));
    host.log.Flush();
    const QByteArray expected = ExpectedBytes(total);
    figures.responseComplete = host.response == expected;
    figures.logComplete = host.log.Text() == ResponseText(expected);
    return figures;
}
