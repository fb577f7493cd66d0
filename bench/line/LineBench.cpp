// kestrin-run as a production line against 1, 2, 4, 8 and 16 simulated cards
// on pseudo-terminals, each card taking the same run of READ BINARY commands:
// exchanges a second in all and per interface, with cards that answer at once
// (the processors' limit) and at 9600 baud (a real card interface's pace), and
// the memory (the proportional set size of the line and its card runs at its
// peak, in all and for each interface past the first). Each figure is the
// median of three runs.
// Target: the total grows with the interfaces until the processors are busy,
// and up to 4 interfaces each keeps at least 80% of the one-interface rate.
#include "cardsim/CardSimulator.h"
#include "common/ProcessFigures.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

constexpr int ExchangesEach = 400;
constexpr qsizetype CommandSize = 5; // 00 B0 00 00 02
constexpr int Interfaces[] = {1, 2, 4, 8, 16};
constexpr int SampleMs = 10;
constexpr int Runs = 3; // the median is shown

struct Figures {
    double seconds = 0;
    qint64 exchanges = 0;
    qint64 peakPssKb = 0;
};

QStringList LineArguments(const std::vector<std::unique_ptr<CardSimulator>>& cards, const QString& junitPath)
{
    QStringList arguments{"-q", "--idle", "0", "--junit", junitPath};
    for (const auto& card : cards)
        arguments << "-d" << card->devicePath();
    for (int exchange = 0; exchange < ExchangesEach; ++exchange)
        arguments << "-e" << "00 B0 00 00 02";
    return arguments;
}

Figures RunLine(const std::vector<std::unique_ptr<CardSimulator>>& cards, const QString& junitPath)
{
    for (const auto& card : cards)
        card->clearReceived();
    QProcess line;
    line.setStandardInputFile(QProcess::nullDevice());
    Figures figures;
    QElapsedTimer clock;
    clock.start();
    line.start(QStringLiteral(KESTRIN_RUN_PROGRAM), LineArguments(cards, junitPath));
    line.waitForStarted();
    while (!line.waitForFinished(SampleMs))
        figures.peakPssKb = std::max(figures.peakPssKb, FamilyPssKilobytes(line.processId()));
    figures.seconds = clock.nsecsElapsed() / 1e9;
    if (line.exitCode() != 0)
        std::printf("  exit status %d: %s\n", line.exitCode(), qPrintable(line.readAllStandardError().right(400)));
    for (const auto& card : cards)
        figures.exchanges += card->received().size() / CommandSize;
    if (figures.exchanges != qint64(cards.size()) * ExchangesEach)
        std::printf("  only %lld exchanges of %lld\n", qlonglong(figures.exchanges), qlonglong(cards.size()) * ExchangesEach);
    return figures;
}

void Measure(const char* pace, Pace answerPace, const QString& junitPath)
{
    std::printf("cards answering %s, %d exchanges each:\n", pace, ExchangesEach);
    double oneRate = 0;
    double oneKb = 0;
    for (const int count : Interfaces) {
        std::vector<std::unique_ptr<CardSimulator>> cards;
        for (int card = 0; card < count; ++card) {
            cards.push_back(std::make_unique<CardSimulator>());
            cards.back()->setAnswerPace(answerPace);
        }
        std::vector<Figures> runs;
        for (int run = 0; run < Runs; ++run)
            runs.push_back(RunLine(cards, junitPath));
        std::sort(runs.begin(), runs.end(), [](const Figures& a, const Figures& b) { return a.seconds < b.seconds; });
        const Figures& figures = runs[Runs / 2];
        const double total = figures.exchanges / figures.seconds;
        const double each = total / count;
        oneRate = count == 1 ? each : oneRate;
        oneKb = count == 1 ? double(figures.peakPssKb) : oneKb;
        const double furtherMb = count == 1 ? 0 : (double(figures.peakPssKb) - oneKb) / (count - 1) / 1024;
        std::printf("  %2d interfaces: %6.0f exchanges/s in all, %5.0f each (%3.0f%% of one alone); "
                    "memory %5.1f MB in all, %4.1f MB for each interface past the first\n",
                    count, total, each, 100 * each / oneRate, figures.peakPssKb / 1024.0, furtherMb);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QTemporaryDir folder;
    const QString junitPath = folder.filePath(QStringLiteral("junit.xml"));
    Measure("at once", Pace{}, junitPath);
    Measure("at 9600 baud", Pace{9600}, junitPath);
    return 0;
}
