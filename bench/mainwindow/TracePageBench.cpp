// The Trace page following the card link while it streams: READ BINARY commands
// of 16 bytes (each echoed, then the procedure byte, the data and the status
// word) go to the card simulator through the real main window, with the Trace
// page in front, each once the card has answered the one before. Prints how long the window let a 10 ms
// timer wait at most (target: it answers within 100 ms throughout, leaving out
// the stretches when the whole machine stood still), the
// exchanges per second, and what the page costs: the heap that a fresh page
// takes for the whole run (target under 100 MB) and the time it needs to catch up.
// Then it compares the window's exchange rate with the page following the link
// and with it following an idle timeline, in turns of a twentieth of the run
// so that both meet the same load on the machine, each command sent once the
// window has slept until the answer came: the median of the turns' ratios
// (target at least 0.95), and the window thread's processor time per exchange
// in each, which the load on the machine changes less.
// Argument: the number of exchanges (100,000).
#include "cardsim/CardSimulator.h"
#include "common/MachineStalls.h"
#include "common/Offscreen.h"
#include "common/PrintedDialogs.h"
#include "common/ProcessFigures.h"
#include "main/TMainForm.h"
#include "trace/TraceModel.h"
#include "ui_TMainForm.h"
#include "windows/TDisplayForm.h"
#include "windows/TracePage.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <optional>
#include <cstdio>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr auto TimerInterval = 10ms;

// The longest time between two firings of a short timer: how long the window
// kept everything else waiting, on the wall clock. Also without the stretches
// when the machine took the processor away (MachineStalls): the most that any
// one processor stood still during a wait is left out of that wait.
class LongestWait {
public:
    LongestWait() : m_lastStalls(m_machine.TotalsMs())
    {
        QObject::connect(&m_timer, &QTimer::timeout, [this] {
            const double waitedMs = m_sinceLast.nsecsElapsed() / 1e6;
            const std::vector<double> stalls = m_machine.TotalsMs();
            m_longestMs = std::max(m_longestMs, waitedMs);
            m_longestOwnMs = std::max(m_longestOwnMs, waitedMs - MostStoodStillMs(m_lastStalls, stalls));
            m_sinceLast.restart();
            m_lastStalls = stalls;
        });
        m_sinceLast.start();
        m_timer.start(TimerInterval);
    }
    double Ms() const { return m_longestMs; }
    double WithoutMachineStallsMs() const { return m_longestOwnMs; }
    const MachineStalls& Machine() const { return m_machine; }

private:
    MachineStalls m_machine;
    std::vector<double> m_lastStalls;
    QTimer m_timer;
    QElapsedTimer m_sinceLast;
    double m_longestMs = 0;
    double m_longestOwnMs = 0;
};

// What the card's answers fill the response with: the echo of the header, the
// procedure byte, the data and the status word (the SELECT's data echoed too).
constexpr qsizetype AnswerBytes = 5 + 1 + 16 + 2;
constexpr qsizetype SelectAnswerBytes = 5 + 1 + 2 + 2;

// Each command waits for the card's answer, as a script does.
bool AnswerCame(TMainForm& form, qsizetype bytes)
{
    QElapsedTimer patience;
    patience.start();
    while (form.Response().size() < bytes * 3 && patience.elapsed() < 10'000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    return form.Response().size() >= bytes * 3;
}

double Mb(qint64 bytes) { return double(bytes) / (1024 * 1024); }

// Waits for the page to show all of its timeline.
void CatchUp(TracePage& page)
{
    while (!page.Update())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
}

// A fresh page shown over the whole timeline: its heap and the time to catch up.
void MeasureFreshPage(const LinkTimeline& timeline)
{
    const qint64 heapBefore = HeapBytesInUse();
    QElapsedTimer clock;
    clock.start();
    TracePage page;
    page.resize(800, 500);
    page.show();
    page.Follow(timeline);
    CatchUp(page);
    page.grab();
    std::printf("a fresh page over the whole run: %lld rows, caught up in %.0f ms; its heap %.1f MB "
                "(target under 100 MB); the timeline itself %.1f MB\n",
                qlonglong(page.model()->rowCount()), clock.nsecsElapsed() / 1e6, Mb(HeapBytesInUse() - heapBefore),
                Mb(timeline.MemoryBytes()));
}

// Starts the link on the simulator and selects EF 0001, whose 16 bytes are read.
bool StartLink(TMainForm& form, CardSimulator& simulator)
{
    form.ui().COMLIST->setText(simulator.devicePath());
    form.ui().Delay->setText(QStringLiteral("0"));
    form.StartCard();
    if (!simulator.waitForOpens(1, 10s))
        return false;
    form.SendCommand(QStringLiteral("00 A4 00 00 02 00 01"));
    return AnswerCame(form, SelectAnswerBytes);
}

// The same wait, sleeping until something happens rather than pumping all the
// while, so that the window thread's processor time is the work it does.
bool AnswerAwaited(TMainForm& form, qsizetype bytes)
{
    QTimer patience;
    patience.setSingleShot(true);
    patience.start(10s);
    while (form.Response().size() < bytes * 3 && patience.isActive())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    return form.Response().size() >= bytes * 3;
}

bool SendReads(TMainForm& form, int exchanges, bool (*answered)(TMainForm&, qsizetype) = AnswerCame)
{
    for (int i = 0; i < exchanges; ++i) {
        form.SendCommand(QStringLiteral("00 B0 00 00 10"));
        if (!answered(form, AnswerBytes))
            return false;
    }
    return true;
}

// Sends the commands and prints the figures of the run.
bool Stream(TMainForm& form, int exchanges, const char* label)
{
    const LongestWait wait;
    QElapsedTimer clock;
    clock.start();
    if (!SendReads(form, exchanges))
        return false;
    const double seconds = clock.nsecsElapsed() / 1e9;
    CatchUp(*form.ui().TraceSheet);
    std::printf("%s: %d exchanges in %.1f s (%.0f a second), %lld rows on the page; the window answered within "
                "%.1f ms at worst, and within %.1f ms leaving out when the machine stood still (target 100 ms; "
                "a processor stood still for up to %.1f ms); peak resident size %s\n",
                label, exchanges, seconds, exchanges / seconds, qlonglong(form.ui().TraceSheet->model()->rowCount()),
                wait.Ms(), wait.WithoutMachineStallsMs(), wait.Machine().LongestMs(),
                qPrintable(MemoryFigure(QStringLiteral("VmHWM"))));
    return true;
}

struct Turn {
    double rate = 0;        // exchanges a second
    double windowCpuUs = 0; // the window thread's processor time per exchange
};

std::optional<Turn> TimedTurn(TMainForm& form, int exchanges)
{
    const double cpuBefore = ThreadCpuSecondsByName().value(QStringLiteral("main"));
    QElapsedTimer clock;
    clock.start();
    if (!SendReads(form, exchanges, AnswerAwaited))
        return std::nullopt;
    const double seconds = clock.nsecsElapsed() / 1e9;
    const double cpu = ThreadCpuSecondsByName().value(QStringLiteral("main")) - cpuBefore;
    return Turn{exchanges / seconds, cpu * 1e6 / exchanges};
}

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Turns with the page idle and following, each following turn once the page has caught up.
bool Compare(TMainForm& form, int exchanges)
{
    constexpr int Turns = 9;
    const LinkTimeline idle;
    TracePage& page = *form.ui().TraceSheet;
    std::vector<double> ratios, idleCpu, followingCpu;
    for (int turn = 0; turn < Turns; ++turn) {
        page.Follow(idle);
        const auto without = TimedTurn(form, exchanges);
        page.Follow(form.Link().Timeline());
        CatchUp(page);
        const auto with = TimedTurn(form, exchanges);
        if (!without || !with)
            return false;
        ratios.push_back(with->rate / without->rate);
        idleCpu.push_back(without->windowCpuUs);
        followingCpu.push_back(with->windowCpuUs);
        std::printf("turn %d: %.0f exchanges a second with the page idle, %.0f with it following\n", turn + 1,
                    without->rate, with->rate);
    }
    std::printf("the window's exchange rate with the page following against idle: %.3f (median of %d turns of %d "
                "exchanges; target at least 0.95); the window thread's processor time per exchange: %.1f us "
                "following, %.1f us idle\n",
                Median(ratios), Turns, exchanges, Median(followingCpu), Median(idleCpu));
    return true;
}

} // namespace

int main(int argc, char** argv)
{
    const int exchanges = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 100'000;
    UseOffscreenUnlessSet();
    QApplication app(argc, argv);
    CardSimulator simulator;
    PrintedDialogs dialogs;
    TDisplayForm display;
    TMainForm form(dialogs, display);
    form.show();
    QApplication::processEvents(); // the first showing loads the settings and clears the panes
    form.ui().MainTab->setCurrentWidget(form.ui().TraceSheet);
    if (!StartLink(form, simulator) || !Stream(form, exchanges, "the page following the link"))
        return std::printf("the card did not answer: %s\n", qPrintable(form.Response())), 1;
    MeasureFreshPage(form.Link().Timeline());
    if (!Compare(form, std::max(1000, exchanges / 20)))
        return std::printf("the card did not answer: %s\n", qPrintable(form.Response())), 1;
    return 0;
}
