#include "windows/TimingChart.h"

#include "trace/TraceModel.h"
#include "windows/TimingChartAccessible.h"
#include "windows/TimingRows.h"

#include <QAccessible>
#include <algorithm>

namespace {

TimeSpan Whole(const TraceTiming& timing)
{
    return {timing.firstNs, std::max(timing.lastNs - timing.firstNs, ShortestSpanNs)};
}

} // namespace

TimingChart::TimingChart(QWidget* parent) : QWidget(parent)
{
    InstallTimingChartAccessibility();
    setFocusPolicy(Qt::StrongFocus);
    setBackgroundRole(QPalette::Base);
    setAutoFillBackground(true);
}

void TimingChart::SetModel(const TraceModel* model)
{
    if (m_model)
        disconnect(m_model, nullptr, this, nullptr);
    m_model = model;
    if (model) {
        connect(model, &TraceModel::rowsInserted, this, qOverload<>(&TimingChart::update));
        connect(model, &TraceModel::dataChanged, this, qOverload<>(&TimingChart::update));
        connect(model, &TraceModel::modelReset, this, &TimingChart::Restart);
    }
    Restart();
}

void TimingChart::Restart()
{
    m_all = true;
    m_selectedRow = -1;
    Changed();
}

TimeSpan TimingChart::SpanOf(const TraceTiming& timing) const
{
    const TimeSpan whole = Whole(timing);
    if (m_all)
        return whole;
    if (m_following)
        return Panned({whole.EndNs() - m_span.lengthNs, m_span.lengthNs}, 0, whole);
    return Panned(m_span, 0, whole);
}

TimeSpan TimingChart::Span() const
{
    if (!m_model)
        return {};
    const TraceLook look = m_model->Look();
    return SpanOf(look.timing());
}

void TimingChart::ChooseSpan(const std::function<TimeSpan(const TimeSpan& span, const TimeSpan& whole)>& choose)
{
    if (!m_model)
        return;
    {
        const TraceLook look = m_model->Look();
        const TimeSpan whole = Whole(look.timing());
        m_span = choose(SpanOf(look.timing()), whole);
        m_all = m_span.lengthNs >= whole.lengthNs;
        m_following = m_span.EndNs() >= whole.EndNs();
    }
    Changed();
}

void TimingChart::ZoomBy(double factor, double anchor)
{
    ChooseSpan([&](const TimeSpan& span, const TimeSpan& whole) { return Zoomed(span, factor, anchor, whole); });
}

void TimingChart::PanBy(double fraction)
{
    ChooseSpan([&](const TimeSpan& span, const TimeSpan& whole) {
        return Panned(span, qint64(fraction * double(span.lengthNs)), whole);
    });
}

void TimingChart::ShowAll()
{
    m_all = true;
    Changed();
}

void TimingChart::ShowStart()
{
    ChooseSpan([](const TimeSpan& span, const TimeSpan& whole) { return Panned(span, whole.startNs - span.startNs, whole); });
}

void TimingChart::ShowEnd()
{
    ChooseSpan([](const TimeSpan& span, const TimeSpan& whole) { return Panned(span, whole.EndNs() - span.EndNs(), whole); });
}

void TimingChart::ShowRow(int row)
{
    m_selectedRow = row;
    std::optional<TimeRange> range;
    if (m_model) {
        const TraceLook look = m_model->Look();
        range = Selection(look.trace(), look.timing());
    }
    if (range) {
        ChooseSpan([&](const TimeSpan& span, const TimeSpan& whole) {
            return Revealing(span, range->fromNs, range->toNs, whole);
        });
    }
    Changed();
}

std::optional<TimeRange> TimingChart::Selection(const Trace& trace, const TraceTiming& timing) const
{
    if (const TimingBar* bar = TimingBarOfRow(trace, timing, m_selectedRow))
        return TimeRange{bar->startNs, bar->endNs};
    if (const TimingMark* mark = TimingMarkOfRow(timing, m_selectedRow))
        return TimeRange{mark->atNs, mark->atNs};
    return std::nullopt;
}

// The exchange `by` after the one selected; without one, the first or last in view.
void TimingChart::StepExchange(int by)
{
    if (!m_model)
        return;
    int row = -1;
    {
        const TraceLook look = m_model->Look();
        const QList<TimingBar>& bars = look.timing().bars;
        if (bars.isEmpty())
            return;
        const TimingBar* selected = TimingBarOfRow(look.trace(), look.timing(), m_selectedRow);
        const auto [first, last] = BarsIn(bars, SpanOf(look.timing()));
        const qsizetype index = selected ? (selected - bars.constData()) + by : by > 0 ? first : last - 1;
        row = bars[std::clamp<qsizetype>(index, 0, bars.size() - 1)].row;
    }
    ChooseRow(row);
}

void TimingChart::ChooseRow(int row)
{
    ShowRow(row);
    emit RowChosen(row);
}

ChartGeometry TimingChart::Geometry(const QSizeF& size) const { return ChartGeometryOf(size, fontMetrics().height()); }

int TimingChart::RowAtPoint(const QPointF& point) const
{
    if (!m_model)
        return -1;
    const TraceLook look = m_model->Look();
    return RowAt(look.timing(), SpanOf(look.timing()), Geometry(size()), point);
}

QString TimingChart::RowDescription(int row) const
{
    const TraceLook look = m_model->Look();
    return TimingRowText(look.trace(), look.timing(), row);
}

void TimingChart::Changed()
{
    update();
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}
