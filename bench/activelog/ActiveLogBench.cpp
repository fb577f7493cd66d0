// Feeds the Active Log received bytes as "XX " the way the link does (chunks of a
// few hundred bytes, one inserted per byte, an event-processing pass between chunks),
// all on one line without a line end, and prints the rates, the window's longest
// answer time and the peak memory. Argument: the number of bytes (1,000,000).
#include "base/RtfWriter.h"
#include "common/Offscreen.h"
#include "common/ProcessFigures.h"
#include "main/ActiveLogEdit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <cstdio>
#include <ctime>
#include <vector>

namespace {

constexpr int ChunkBytes = 300;

// Processor time of this process: the tenths compare fairly on a busy machine.
double CpuSeconds()
{
    return double(std::clock()) / CLOCKS_PER_SEC;
}

struct Figures {
    double seconds = 0;
    std::vector<double> tenths; // processor seconds for each tenth of the bytes
    double longestPass = 0;     // milliseconds: one event-processing pass
    double longestChunk = 0;    // milliseconds: a chunk's inserts and the pass after it
};

void TimeChunk(ActiveLogEdit& log, const QStringList& hex, int first, int end, Figures& figures)
{
    QElapsedTimer step;
    step.start();
    for (int i = first; i < end; ++i)
        log.InsertAtCaret(hex[i & 0xFF]);
    const qint64 inserted = step.nsecsElapsed();
    QCoreApplication::processEvents();
    figures.longestPass = std::max(figures.longestPass, (step.nsecsElapsed() - inserted) / 1e6);
    figures.longestChunk = std::max(figures.longestChunk, step.nsecsElapsed() / 1e6);
}

Figures Feed(ActiveLogEdit& log, const QStringList& hex, int total)
{
    Figures figures;
    QElapsedTimer wall;
    wall.start();
    for (int tenth = 0; tenth < 10; ++tenth) {
        const double start = CpuSeconds();
        const int end = total / 10 * (tenth + 1);
        for (int sent = total / 10 * tenth; sent < end; sent += ChunkBytes)
            TimeChunk(log, hex, sent, std::min(sent + ChunkBytes, end), figures);
        figures.tenths.push_back(CpuSeconds() - start);
    }
    log.Flush();
    figures.seconds = wall.nsecsElapsed() / 1e9;
    return figures;
}

void Print(const Figures& figures, int total)
{
    std::printf("bytes: %d as \"XX \" on one line, chunks of %d, one insert per byte\n", total, ChunkBytes);
    std::printf("overall: %.0f bytes/s (%.2f s)\n", total / figures.seconds, figures.seconds);
    std::printf("rate per tenth, processor time (bytes/s):");
    for (double seconds : figures.tenths)
        std::printf(" %.0f", total / 10 / seconds);
    std::printf("\nfirst tenth vs last tenth: %.0f vs %.0f bytes/s\n", total / 10 / figures.tenths.front(),
                total / 10 / figures.tenths.back());
    std::printf("longest event-processing pass: %.1f ms; longest chunk with its pass: %.1f ms\n",
                figures.longestPass, figures.longestChunk);
}

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessSet();
    QApplication app(argc, argv);
    const int total = argc > 1 ? std::max(10, QByteArray(argv[1]).toInt()) : 1'000'000;
    ActiveLogEdit log;
    log.resize(324, 600);
    log.show();
    QCoreApplication::processEvents();
    const QString before = MemoryFigure("VmRSS");

    QStringList hex;
    for (int byte = 0; byte < 256; ++byte)
        hex.append(QStringLiteral("%1 ").arg(byte, 2, 16, QChar(u'0')).toUpper());
    Print(Feed(log, hex, total), total);

    QElapsedTimer save;
    save.start();
    const QByteArray rtf = WriteRtf(log.Runs());
    const double saveMs = save.nsecsElapsed() / 1e6;
    const qsizetype length = log.Text().size();
    std::printf("content %lld characters (expected %lld)\n", qlonglong(length), qlonglong(total / 10 * 10) * 3);
    std::printf("Runs + WriteRtf of the whole log: %.0f ms, %lld bytes\n", saveMs, qlonglong(rtf.size()));
    std::printf("memory: %s before feeding, peak (VmHWM) %s\n", qPrintable(before), qPrintable(MemoryFigure("VmHWM")));
    return length == qsizetype(total / 10 * 10) * 3 ? 0 : 1;
}
