#include "windows/TimingRows.h"

#include "trace/ExchangeText.h"
#include "windows/TimingScale.h"

#include <algorithm>

const TimingBar* TimingBarOfRow(const Trace& trace, const TraceTiming& timing, int row)
{
    if (row < 0 || row >= trace.rows.size())
        return nullptr;
    const TraceExchange* exchange = trace.ExchangeOf(trace.rows[row]);
    const qint32 index = trace.rows[row].ref;
    return exchange && index < timing.bars.size() ? &timing.bars[index] : nullptr;
}

const TimingMark* TimingMarkOfRow(const TraceTiming& timing, int row)
{
    // Marks come in time order, so their rows never go down.
    const auto mark = std::lower_bound(timing.marks.cbegin(), timing.marks.cend(), row,
                                       [](const TimingMark& mark, int row) { return mark.row < row; });
    return mark != timing.marks.cend() && mark->row == row ? &*mark : nullptr;
}

QString TimingRowText(const Trace& trace, const TraceTiming& timing, int row)
{
    if (const TimingBar* bar = TimingBarOfRow(trace, timing, row)) {
        QString text = ExchangeSummary(*trace.ExchangeOf(trace.rows[row]));
        if (bar->answerNs >= 0)
            text += QStringLiteral("; the card answered after %1").arg(DurationText(bar->answerNs - bar->headerEndNs));
        return text + QStringLiteral("; %1 in all").arg(DurationText(bar->endNs - bar->startNs));
    }
    QString text = RowMeaning(trace, trace.rows[row]);
    if (const TimingMark* mark = TimingMarkOfRow(timing, row))
        text += QStringLiteral("; at %1").arg(DurationText(mark->atNs - timing.firstNs));
    return text;
}
