// The card simulator streams bytes to the real main window over its pseudo-terminal,
// through the real link, into the response and the Active Log. After the first
// million bytes and again after three million, prints the process's resident size,
// the heap in use and the link timeline's memory; the growth between the two per
// received byte is the figure (target at most 12 bytes). Also the receive rate and
// the window's longest answer time (the longest gap between two runs of a 10 ms
// timer). Arguments: the rate in baud at which the simulator sends (0, the default:
// as fast as the line takes them), and other counts of bytes for the two marks.
#include "cardsim/CardSimulator.h"
#include "common/Offscreen.h"
#include "common/PrintedDialogs.h"
#include "common/ProcessFigures.h"
#include "main/TMainForm.h"
#include "ui_TMainForm.h"
#include "windows/TDisplayForm.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <cstdio>

namespace {

constexpr std::chrono::milliseconds Tick{10};
constexpr qint64 PatienceMs = 5 * 60 * 1000;

struct Mark {
    double rssMb = 0;
    double heapMb = 0;
    double timelineMb = 0;
};

Mark Measure(TMainForm& form)
{
    return {MemoryKilobytes(QStringLiteral("VmRSS")) / 1024.0, HeapBytesInUse() / 1048576.0,
            form.Link().Timeline().MemoryBytes() / 1048576.0};
}

// The log's length in characters; every byte received shows as three.
qsizetype LoggedBytes(TMainForm& form) { return form.ui().Memo1->Length() / 3; }

class Stream {
public:
    explicit Stream(TMainForm& form) : m_form(form)
    {
        m_ticker.setTimerType(Qt::PreciseTimer);
        QObject::connect(&m_ticker, &QTimer::timeout, [this] {
            m_longestGapMs = std::max(m_longestGapMs, (m_clock.nsecsElapsed() - m_lastTick) / 1e6);
            m_lastTick = m_clock.nsecsElapsed();
        });
    }

    // Has the simulator send `count` more bytes and runs the event loop until the
    // log shows `total` bytes. Returns false on a stall.
    bool Receive(CardSimulator& simulator, qsizetype count, qsizetype total, Pace pace)
    {
        QElapsedTimer clock;
        clock.start();
        m_clock.start();
        m_lastTick = 0;
        m_ticker.start(Tick);
        simulator.sendCount(count, pace);
        while (LoggedBytes(m_form) < total && clock.elapsed() < PatienceMs)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
        m_ticker.stop();
        m_seconds += clock.nsecsElapsed() / 1e9;
        return LoggedBytes(m_form) >= total;
    }

    double Seconds() const { return m_seconds; }
    double LongestGapMs() const { return m_longestGapMs; }

private:
    TMainForm& m_form;
    QTimer m_ticker;
    QElapsedTimer m_clock;
    qint64 m_lastTick = 0;
    double m_seconds = 0;
    double m_longestGapMs = 0;
};

bool StartLink(TMainForm& form, CardSimulator& simulator)
{
    form.ui().COMLIST->setText(simulator.devicePath());
    form.StartCard();
    QElapsedTimer wall;
    wall.start();
    while (form.Response().isEmpty() && wall.elapsed() < 10'000)
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 50);
    form.ui().Memo1->Clear(); // the ATR: the stream is counted from an empty log
    return !form.Response().isEmpty();
}

void PrintMark(qsizetype bytes, const Mark& mark)
{
    std::printf("after %lld bytes: resident %.1f MB, heap in use %.1f MB, of it the link's timeline %.1f MB\n",
                qlonglong(bytes), mark.rssMb, mark.heapMb, mark.timelineMb);
}

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessSet();
    QApplication app(argc, argv);
    PrintedDialogs dialogs;
    TDisplayForm display;
    TMainForm form(dialogs, display);
    form.show();
    QApplication::processEvents(); // the first showing loads the settings and clears the panes
    CardSimulator simulator;
    if (!StartLink(form, simulator)) {
        std::fprintf(stderr, "the link did not start on %s\n", qPrintable(simulator.devicePath()));
        return 1;
    }
    const Pace pace{argc > 1 ? QByteArray(argv[1]).toInt() : 0};
    const qsizetype firstBytes = argc > 3 ? QByteArray(argv[2]).toLongLong() : 1'000'000;
    const qsizetype allBytes = argc > 3 ? QByteArray(argv[3]).toLongLong() : 3'000'000;
    PrintMark(0, Measure(form));
    Stream stream(form);
    if (!stream.Receive(simulator, firstBytes, firstBytes, pace))
        return std::fprintf(stderr, "the stream stalled\n"), 1;
    const Mark first = Measure(form);
    PrintMark(firstBytes, first);
    if (!stream.Receive(simulator, allBytes - firstBytes, allBytes, pace))
        return std::fprintf(stderr, "the stream stalled\n"), 1;
    const Mark all = Measure(form);
    PrintMark(allBytes, all);
    const double further = double(allBytes - firstBytes) / 1048576;
    std::printf("growth per further received byte: resident %.1f B, heap %.1f B (target at most 12), "
                "of it the timeline %.1f B\n",
                (all.rssMb - first.rssMb) / further, (all.heapMb - first.heapMb) / further,
                (all.timelineMb - first.timelineMb) / further);
    std::printf("receiving: %.0f bytes/s; longest gap between two runs of a 10 ms timer: %.1f ms\n",
                allBytes / stream.Seconds(), stream.LongestGapMs());
    return dialogs.shown == 0 ? 0 : 1;
}
