#include "windows/TimingScale.h"

#include <algorithm>
#include <cmath>

namespace {

qint64 LengthWithin(qint64 lengthNs, const TimeSpan& whole)
{
    return std::clamp(lengthNs, ShortestSpanNs, std::max(whole.lengthNs, ShortestSpanNs));
}

// Keeps a span as long as `whole` at most and inside it.
TimeSpan Within(TimeSpan span, const TimeSpan& whole)
{
    span.lengthNs = LengthWithin(span.lengthNs, whole);
    span.startNs = std::clamp(span.startNs, whole.startNs, std::max(whole.startNs, whole.EndNs() - span.lengthNs));
    return span;
}

// The smallest step of 1, 2 or 5 times a power of ten that is at least `least`.
qint64 RoundStep(double least)
{
    qint64 power = 1;
    while (true) {
        for (const qint64 multiple : {1, 2, 5}) {
            if (double(multiple * power) >= least)
                return multiple * power;
        }
        power *= 10;
    }
}

// Decimals enough to tell ticks `stepNs` apart, in seconds.
int DecimalsFor(qint64 stepNs)
{
    int decimals = 9;
    for (qint64 step = stepNs; step % 10 == 0 && decimals > 0; step /= 10)
        --decimals;
    return decimals;
}

} // namespace

double XOf(qint64 ns, const TimeSpan& span, double width)
{
    return double(ns - span.startNs) * width / double(span.lengthNs);
}

qint64 TimeAt(double x, const TimeSpan& span, double width)
{
    if (width <= 0)
        return span.startNs;
    return span.startNs + qint64(std::llround(x * double(span.lengthNs) / width));
}

TimeSpan Zoomed(const TimeSpan& span, double factor, double anchor, const TimeSpan& whole)
{
    const qint64 anchorNs = span.startNs + qint64(anchor * double(span.lengthNs));
    const qint64 length = LengthWithin(qint64(double(span.lengthNs) / factor), whole);
    return Within({anchorNs - qint64(anchor * double(length)), length}, whole);
}

TimeSpan Panned(const TimeSpan& span, qint64 byNs, const TimeSpan& whole)
{
    return Within({span.startNs + byNs, span.lengthNs}, whole);
}

TimeSpan Revealing(const TimeSpan& span, qint64 fromNs, qint64 toNs, const TimeSpan& whole)
{
    if (fromNs >= span.startNs && toNs <= span.EndNs())
        return span;
    const qint64 length = std::max(span.lengthNs, (toNs - fromNs) * 5 / 4);
    return Within({(fromNs + toNs) / 2 - length / 2, length}, whole);
}

QList<AxisTick> AxisTicks(const TimeSpan& span, double width, qint64 zeroNs, double spacing)
{
    if (width <= 0)
        return {};
    const qint64 step = RoundStep(double(span.lengthNs) * spacing / width);
    const int decimals = DecimalsFor(step);
    QList<AxisTick> ticks;
    // The first multiple of the step since zero at or after the span's start.
    const qint64 sinceZero = span.startNs - zeroNs;
    qint64 tick = sinceZero <= 0 ? -(-sinceZero / step) * step : (sinceZero + step - 1) / step * step;
    for (; zeroNs + tick <= span.EndNs(); tick += step)
        ticks.append({XOf(zeroNs + tick, span, width), QStringLiteral("%1 s").arg(double(tick) / 1e9, 0, 'f', decimals)});
    return ticks;
}

QString DurationText(qint64 ns)
{
    if (ns < 1'000'000)
        return QStringLiteral("%1 µs").arg(double(ns) / 1e3, 0, 'f', 0);
    if (ns < 1'000'000'000)
        return QStringLiteral("%1 ms").arg(double(ns) / 1e6, 0, 'f', 3);
    return QStringLiteral("%1 s").arg(double(ns) / 1e9, 0, 'f', 3);
}
