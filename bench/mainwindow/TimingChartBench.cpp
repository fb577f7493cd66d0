// The timing chart's paint time over a long trace: 100,000 exchanges (the first
// argument for another number) of READ BINARY and SELECT, some answered after
// NULL bytes and some with an error, drawn on a chart of 1200 x 160 pixels with
// all of them in view, a tenth and a thousandth. Prints the median and the
// slowest of 40 paints of each (target at most 16 ms). A second argument
// ("chart.png" or "chart.svg") writes the chart with all in view there.
#include "cardsim/SimulatedRun.h"
#include "common/Offscreen.h"
#include "base/SaveFile.h"
#include "trace/TraceModel.h"
#include "windows/TimingChart.h"
#include "windows/TimingChartExport.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QPainter>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr int Paints = 40;

LinkTimeline Exchanges(int count)
{
    SimulatedRun run;
    run.Session().setReply(QByteArray::fromHex("00B0000104"), QByteArray::fromHex("606060B0010203049000"));
    run.Open();
    run.Send(QByteArray::fromHex("00A40000020001"));
    for (int i = 0; i < count; ++i) {
        if (i % 50 == 49)
            run.Send(QByteArray::fromHex("00A40000027F99"));
        else
            run.Send(QByteArray::fromHex(i % 37 == 36 ? "00B0000104" : "00B0000010"));
    }
    return run.Timeline();
}

// Median and slowest paint, in ms.
std::pair<double, double> PaintTimes(const TimingChart& chart)
{
    QImage image(chart.size(), QImage::Format_ARGB32_Premultiplied);
    std::vector<double> times;
    for (int i = 0; i < Paints; ++i) {
        QElapsedTimer clock;
        clock.start();
        QPainter painter(&image);
        chart.Render(painter, chart.size());
        painter.end();
        times.push_back(clock.nsecsElapsed() / 1e6);
    }
    std::sort(times.begin(), times.end());
    return {times[times.size() / 2], times.back()};
}

} // namespace

int main(int argc, char** argv)
{
    const int count = argc > 1 ? std::max(1, QByteArray(argv[1]).toInt()) : 100'000;
    UseOffscreenUnlessSet();
    QApplication app(argc, argv);
    const LinkTimeline timeline = Exchanges(count);
    TraceModel model(timeline);
    QElapsedTimer clock;
    clock.start();
    while (!model.Update(1s)) {
    }
    std::printf("%d exchanges, %lld rows, decoded in %.0f ms\n", count, qlonglong(model.rowCount()),
                clock.nsecsElapsed() / 1e6);
    TimingChart chart;
    chart.SetModel(&model);
    chart.resize(1200, 160);
    if (argc > 2)
        SaveFile(QString::fromLocal8Bit(argv[2]), TimingChartFile(chart, QString::fromLocal8Bit(argv[2])));
    for (const double zoom : {1.0, 10.0, 1000.0}) {
        chart.ShowAll();
        chart.ZoomBy(zoom, 0.5);
        const auto [median, slowest] = PaintTimes(chart);
        std::printf("a paint with 1/%.0f of the exchanges in view: %.2f ms (median), %.2f ms at most (target 16 ms)\n",
                    zoom, median, slowest);
    }
    return 0;
}
