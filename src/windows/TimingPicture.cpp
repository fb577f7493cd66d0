#include "windows/TimingPicture.h"

#include <QColor>
#include <QPainter>
#include <QPalette>
#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double Margin = 4;
constexpr double NullLane = 10;
// A click this many pixels beside a bar or mark still finds it.
constexpr double Slack = 3;
// A bar this narrow has no room to show its answer time.
constexpr double NarrowestAnswer = 4;
constexpr double NarrowestSelection = 6;

int Severity(StatusClass status)
{
    switch (status) {
    case StatusClass::Normal: return 0;
    case StatusClass::Unfinished: return 1;
    case StatusClass::Warning: return 2;
    case StatusClass::Error: return 3;
    }
    return 0;
}

bool StartsAfter(qint64 ns, const TimingBar& bar) { return ns < bar.startNs; }
bool MarkBefore(const TimingMark& mark, qint64 ns) { return mark.atNs < ns; }
bool MarkAfter(qint64 ns, const TimingMark& mark) { return ns < mark.atNs; }

// The bars that reach into [fromNs, toNs]: exchanges follow each other, so
// only the one begun before `fromNs` can still last into it.
std::pair<qsizetype, qsizetype> BarsBetween(const QList<TimingBar>& bars, qint64 fromNs, qint64 toNs)
{
    auto first = qsizetype(std::upper_bound(bars.cbegin(), bars.cend(), fromNs, StartsAfter) - bars.cbegin());
    if (first > 0 && bars[first - 1].endNs >= fromNs)
        --first;
    return {first, qsizetype(std::upper_bound(bars.cbegin(), bars.cend(), toNs, StartsAfter) - bars.cbegin())};
}

std::pair<qsizetype, qsizetype> MarksBetween(const QList<TimingMark>& marks, qint64 fromNs, qint64 toNs)
{
    return {qsizetype(std::lower_bound(marks.cbegin(), marks.cend(), fromNs, MarkBefore) - marks.cbegin()),
            qsizetype(std::upper_bound(marks.cbegin(), marks.cend(), toNs, MarkAfter) - marks.cbegin())};
}

StatusClass Worse(StatusClass one, StatusClass other) { return Severity(other) > Severity(one) ? other : one; }

// The time at the right end of the pixel that holds `ns`, and one pixel right of `left` at least.
qint64 PixelEndNs(qint64 ns, double left, const TimeSpan& span, double width)
{
    return TimeAt(std::max(left + 1, std::ceil(XOf(ns, span, width))), span, width);
}

void AddAnswer(TimingPicture& picture, const TimingBar& bar, const TimeSpan& span)
{
    const QRectF& lane = picture.geometry.bars;
    const qint64 answerNs = bar.answerNs >= 0 ? bar.answerNs : bar.endNs;
    const double from = XOf(bar.headerEndNs, span, lane.width()), to = XOf(answerNs, span, lane.width());
    picture.answers.append(QRectF(from, lane.top() + lane.height() / 4, to - from, lane.height() / 2));
}

// Adds the box of the bar at `index` and of the bars after it that begin within
// its last pixel, coloured as the worst of them; returns the index after them.
// Times are compared as they are, so a pixel of many bars costs little.
qsizetype AddBox(TimingPicture& picture, const QList<TimingBar>& bars, qsizetype index, qsizetype end, const TimeSpan& span)
{
    const QRectF& lane = picture.geometry.bars;
    const TimingBar& first = bars[index];
    const double left = std::floor(XOf(first.startNs, span, lane.width()));
    qint64 endNs = first.endNs;
    qint64 joinsBeforeNs = PixelEndNs(endNs, left, span, lane.width());
    StatusClass status = first.status;
    qsizetype next = index + 1;
    for (; next < end && bars[next].startNs < joinsBeforeNs; ++next) {
        status = Worse(status, bars[next].status);
        endNs = std::max(endNs, bars[next].endNs);
        if (endNs >= joinsBeforeNs)
            joinsBeforeNs = PixelEndNs(endNs, left, span, lane.width());
    }
    const double right = std::max(left + 1, XOf(endNs, span, lane.width()));
    picture.bars[int(status)].append(QRectF(left, lane.top(), right - left, lane.height()));
    if (next == index + 1 && right - left >= NarrowestAnswer && first.headerEndNs >= 0)
        AddAnswer(picture, first, span);
    return next;
}

void AddMarks(TimingPicture& picture, const TraceTiming& timing, const TimeSpan& span)
{
    const auto [first, last] = MarksBetween(timing.marks, span.startNs, span.EndNs());
    const double width = picture.geometry.bars.width();
    for (qsizetype i = first; i < last; ++i) {
        const TimingMark& mark = timing.marks[i];
        const double x = std::round(XOf(mark.atNs, span, width));
        QList<double>& marks = mark.kind == TimingMarkKind::Null ? picture.nulls : picture.resets;
        if (marks.isEmpty() || marks.last() != x)
            marks.append(x);
    }
}

std::optional<QRectF> SelectionBox(const ChartGeometry& geometry, const TimeSpan& span, const TimeRange& range)
{
    const double width = geometry.bars.width();
    double left = XOf(range.fromNs, span, width), right = XOf(range.toNs, span, width);
    const double widen = std::max(0.0, NarrowestSelection - (right - left)) / 2;
    left -= widen;
    right += widen;
    if (right < 0 || left > width)
        return std::nullopt;
    return QRectF(left, geometry.nulls.top(), right - left, geometry.bars.bottom() - geometry.nulls.top());
}

// The row of the item `between` nearest to `ns`, or -1 when there are none.
template <typename Item>
int NearestRow(const QList<Item>& items, std::pair<qsizetype, qsizetype> between, qint64 ns,
               std::pair<qint64, qint64> (*timesOf)(const Item&))
{
    int row = -1;
    qint64 nearest = std::numeric_limits<qint64>::max();
    for (qsizetype i = between.first; i < between.second; ++i) {
        const auto [from, to] = timesOf(items[i]);
        const qint64 distance = ns < from ? from - ns : ns > to ? ns - to : 0;
        if (distance < nearest) {
            nearest = distance;
            row = items[i].row;
        }
    }
    return row;
}

std::pair<qint64, qint64> BarTimes(const TimingBar& bar) { return {bar.startNs, bar.endNs}; }
std::pair<qint64, qint64> MarkTimes(const TimingMark& mark) { return {mark.atNs, mark.atNs}; }

} // namespace

std::pair<qsizetype, qsizetype> BarsIn(const QList<TimingBar>& bars, const TimeSpan& span)
{
    return BarsBetween(bars, span.startNs, span.EndNs());
}

ChartGeometry ChartGeometryOf(const QSizeF& size, double textHeight)
{
    const double axisHeight = textHeight + 2 * Margin;
    const QRectF nulls(0, Margin, size.width(), NullLane);
    const QRectF bars(0, nulls.bottom() + Margin, size.width(), size.height() - axisHeight - nulls.bottom() - 2 * Margin);
    return {nulls, bars, QRectF(0, size.height() - axisHeight, size.width(), axisHeight)};
}

TimingPicture DrawTiming(const TraceTiming& timing, const TimeSpan& span, const ChartGeometry& geometry,
                         std::optional<TimeRange> selected)
{
    TimingPicture picture;
    picture.geometry = geometry;
    const auto [first, last] = BarsIn(timing.bars, span);
    for (qsizetype index = first; index < last;)
        index = AddBox(picture, timing.bars, index, last, span);
    AddMarks(picture, timing, span);
    if (selected)
        picture.selected = SelectionBox(geometry, span, *selected);
    picture.ticks = AxisTicks(span, geometry.axis.width(), timing.firstNs, geometry.axis.height() * 5);
    return picture;
}

int RowAt(const TraceTiming& timing, const TimeSpan& span, const ChartGeometry& geometry, const QPointF& point)
{
    const double width = geometry.bars.width();
    const qint64 ns = TimeAt(point.x(), span, width);
    const qint64 slackNs = TimeAt(Slack, span, width) - span.startNs;
    const auto marks = MarksBetween(timing.marks, ns - slackNs, ns + slackNs);
    const int mark = NearestRow(timing.marks, marks, ns, MarkTimes);
    if (point.y() < geometry.nulls.bottom() + Margin / 2 && mark >= 0)
        return mark;
    const int bar = NearestRow(timing.bars, BarsBetween(timing.bars, ns - slackNs, ns + slackNs), ns, BarTimes);
    return bar >= 0 ? bar : mark;
}

QColor StatusColour(StatusClass status)
{
    switch (status) {
    case StatusClass::Normal: return QColor(0x3a, 0x9a, 0x4f);
    case StatusClass::Warning: return QColor(0xe0, 0xa1, 0x00);
    case StatusClass::Error: return QColor(0xcc, 0x33, 0x33);
    case StatusClass::Unfinished: return QColor(0x8c, 0x8c, 0x8c);
    }
    return {};
}

void PaintTiming(QPainter& painter, const TimingPicture& picture, const QPalette& palette)
{
    const ChartGeometry& geometry = picture.geometry;
    painter.fillRect(QRectF(0, 0, geometry.axis.width(), geometry.axis.bottom()), palette.base());
    painter.setPen(Qt::NoPen);
    for (int status = 0; status < int(picture.bars.size()); ++status) {
        painter.setBrush(StatusColour(StatusClass(status)));
        painter.drawRects(picture.bars[status]);
    }
    painter.setBrush(QColor(255, 255, 255, 150));
    painter.drawRects(picture.answers);
    painter.setPen(QPen(QColor(0x1f, 0x4e, 0x9c), 1.5));
    for (const double x : picture.nulls)
        painter.drawLine(QPointF(x, geometry.nulls.top()), QPointF(x, geometry.nulls.bottom()));
    painter.setPen(QPen(QColor(0x7b, 0x3f, 0xa0), 1.5, Qt::DashLine));
    for (const double x : picture.resets)
        painter.drawLine(QPointF(x, geometry.nulls.top()), QPointF(x, geometry.bars.bottom()));
    painter.setPen(palette.color(QPalette::Text));
    painter.drawLine(geometry.axis.topLeft(), geometry.axis.topRight());
    for (const AxisTick& tick : picture.ticks) {
        painter.drawLine(QPointF(tick.x, geometry.axis.top()), QPointF(tick.x, geometry.axis.top() + Margin));
        painter.drawText(QPointF(tick.x + 2, geometry.axis.bottom() - Margin), tick.label);
    }
    if (picture.selected) {
        painter.setPen(QPen(palette.color(QPalette::Highlight), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(*picture.selected);
    }
}
