#pragma once

#include "trace/TraceTiming.h"
#include "windows/TimingScale.h"

#include <QList>
#include <QRectF>
#include <array>
#include <optional>

class QColor;
class QPainter;
class QPalette;

// What the timing chart draws, worked out in pixels from a trace's timing and
// the span in view, so that the screen, SVG and PNG show the same. Pure
// arithmetic but for the painting at the end.

// The lanes of a chart `size` big: NULL marks above the bars, the bars, and
// the time axis below with labels `textHeight` high.
struct ChartGeometry {
    QRectF nulls;
    QRectF bars;
    QRectF axis;
};
ChartGeometry ChartGeometryOf(const QSizeF& size, double textHeight);

struct TimeRange {
    qint64 fromNs = 0;
    qint64 toNs = 0;
};

struct TimingPicture {
    ChartGeometry geometry;
    // Per StatusClass, a box per exchange in view; exchanges that share a pixel
    // share a box, in the colour of the worst of them.
    std::array<QList<QRectF>, 4> bars;
    QList<QRectF> answers; // the card's answer time, in boxes of one exchange wide enough to show it
    QList<double> nulls;   // NULL bytes, one mark a pixel at most
    QList<double> resets;
    std::optional<QRectF> selected;
    QList<AxisTick> ticks;
};

// The bars that reach into the span: [first, last).
std::pair<qsizetype, qsizetype> BarsIn(const QList<TimingBar>& bars, const TimeSpan& span);

// Only what is in `span` is looked at: the bars and marks in view are found by
// halving, as both lists are in time order.
TimingPicture DrawTiming(const TraceTiming& timing, const TimeSpan& span, const ChartGeometry& geometry,
                         std::optional<TimeRange> selected);
// The row of the mark or bar at `point` (a few pixels either side count), or -1.
int RowAt(const TraceTiming& timing, const TimeSpan& span, const ChartGeometry& geometry, const QPointF& point);

QColor StatusColour(StatusClass status);
void PaintTiming(QPainter& painter, const TimingPicture& picture, const QPalette& palette);
