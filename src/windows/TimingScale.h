#pragma once

#include <QList>
#include <QString>

// The stretch of the link's clock (ns) that the timing chart shows across its width.
struct TimeSpan {
    qint64 startNs = 0;
    qint64 lengthNs = 1;

    qint64 EndNs() const { return startNs + lengthNs; }
    bool operator==(const TimeSpan&) const = default;
};

// The shortest span the chart zooms in to.
inline constexpr qint64 ShortestSpanNs = 10'000;

// Where a time falls across `width` pixels, and the time at a place.
double XOf(qint64 ns, const TimeSpan& span, double width);
qint64 TimeAt(double x, const TimeSpan& span, double width);

// Spans kept within `whole` (all the traffic): as long as `whole` at most, as
// short as ShortestSpanNs at least.
// Zoomed in by `factor` (below 1 zooms out), the time at `anchor` (0 left edge,
// 1 right edge) staying where it is.
TimeSpan Zoomed(const TimeSpan& span, double factor, double anchor, const TimeSpan& whole);
TimeSpan Panned(const TimeSpan& span, qint64 byNs, const TimeSpan& whole);
// A span that shows fromNs to toNs: `span` itself when it does, else one as
// long centred on them, or a longer one when they do not fit.
TimeSpan Revealing(const TimeSpan& span, qint64 fromNs, qint64 toNs, const TimeSpan& whole);

// A labelled tick of the time axis.
struct AxisTick {
    double x = 0;
    QString label;
    bool operator==(const AxisTick&) const = default;
};

// Ticks at round steps (1, 2 or 5 times a power of ten ns) at least `spacing`
// pixels apart, labelled with the time since `zeroNs` in seconds ("0.25 s").
QList<AxisTick> AxisTicks(const TimeSpan& span, double width, qint64 zeroNs, double spacing);

// A duration for people: "850 µs", "12.345 ms", "2.500 s".
QString DurationText(qint64 ns);
