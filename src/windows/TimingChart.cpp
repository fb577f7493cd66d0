#include "windows/TimingChart.h"

#include "trace/TraceModel.h"
#include "windows/TimingChartAccessible.h"

#include <QAccessible>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <algorithm>

namespace {

TimeSpan Whole(const TraceTiming& timing)
{
    return {timing.firstNs, std::max(timing.lastNs - timing.firstNs, ShortestSpanNs)};
}

const TimingBar* BarOf(const Trace& trace, const TraceTiming& timing, int row)
{
    const TraceExchange* exchange = trace.ExchangeOf(trace.rows[row]);
    const qint32 index = trace.rows[row].ref;
    return exchange && index < timing.bars.size() ? &timing.bars[index] : nullptr;
}

const TimingMark* MarkOf(const TraceTiming& timing, int row)
{
    // Marks come in time order, so their rows never go down.
    const auto mark = std::lower_bound(timing.marks.cbegin(), timing.marks.cend(), row,
                                       [](const TimingMark& mark, int row) { return mark.row < row; });
    return mark != timing.marks.cend() && mark->row == row ? &*mark : nullptr;
}

// A row's meaning, with the times of its exchange or mark.
QString Describe(const Trace& trace, const TraceTiming& timing, int row)
{
    QString text = RowMeaning(trace, trace.rows[row]);
    if (const TimingBar* bar = BarOf(trace, timing, row)) {
        if (bar->answerNs >= 0)
            text += QStringLiteral("; the card answered after %1").arg(DurationText(bar->answerNs - bar->headerEndNs));
        return text + QStringLiteral("; %1 in all").arg(DurationText(bar->endNs - bar->startNs));
    }
    if (const TimingMark* mark = MarkOf(timing, row))
        text += QStringLiteral("; at %1").arg(DurationText(mark->atNs - timing.firstNs));
    return text;
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
    if (m_selectedRow < 0 || m_selectedRow >= trace.rows.size())
        return std::nullopt;
    if (const TimingBar* bar = BarOf(trace, timing, m_selectedRow))
        return TimeRange{bar->startNs, bar->endNs};
    if (const TimingMark* mark = MarkOf(timing, m_selectedRow))
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
        const TimingBar* selected = m_selectedRow >= 0 && m_selectedRow < look.trace().rows.size()
                                        ? BarOf(look.trace(), look.timing(), m_selectedRow)
                                        : nullptr;
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
    return Describe(look.trace(), look.timing(), row);
}

void TimingChart::Render(QPainter& painter, const QSize& size) const
{
    static const TraceTiming none;
    TimingPicture picture;
    bool empty = true;
    if (m_model) {
        const TraceLook look = m_model->Look();
        picture = DrawTiming(look.timing(), SpanOf(look.timing()), Geometry(size), Selection(look.trace(), look.timing()));
        empty = look.timing().bars.isEmpty() && look.timing().marks.isEmpty();
    } else {
        picture = DrawTiming(none, {}, Geometry(size), std::nullopt);
    }
    PaintTiming(painter, picture, palette());
    if (empty) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(picture.geometry.bars, Qt::AlignCenter, tr("Each exchange with the card shows here as a bar."));
    }
}

QString TimingChart::Summary() const
{
    if (!m_model)
        return tr("No trace");
    const TraceLook look = m_model->Look();
    const TraceTiming& timing = look.timing();
    const TimeSpan span = SpanOf(timing);
    const auto [first, last] = BarsIn(timing.bars, span);
    QString summary = tr("%1 exchanges, %2 in view from %3 to %4")
                          .arg(timing.bars.size())
                          .arg(last - first)
                          .arg(DurationText(span.startNs - timing.firstNs), DurationText(span.EndNs() - timing.firstNs));
    if (m_selectedRow >= 0 && m_selectedRow < look.trace().rows.size())
        summary += tr("; selected: %1").arg(Describe(look.trace(), timing, m_selectedRow));
    return summary;
}

QSize TimingChart::sizeHint() const { return {480, fontMetrics().height() * 7}; }

void TimingChart::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    Render(painter, size());
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void TimingChart::Changed()
{
    update();
    QAccessibleEvent event(this, QAccessible::DescriptionChanged);
    QAccessible::updateAccessibility(&event);
}
