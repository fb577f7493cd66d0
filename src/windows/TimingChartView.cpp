// How the timing chart shows itself: on the screen, in a file, and in words.
#include "trace/TraceModel.h"
#include "windows/TimingChart.h"
#include "windows/TimingRows.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

void TimingChart::Render(QPainter& painter, const QSize& size) const
{
    static const TraceTiming none;
    TimingPicture picture;
    bool empty = true;
    if (m_model) {
        const TraceLook look = m_model->Look();
        picture = DrawTiming(look.timing(), SpanOf(look.timing()), Geometry(size), Selection(look.trace(), look.timing()));
        empty = look.timing().bars.isEmpty();
    } else {
        picture = DrawTiming(none, {}, Geometry(size), std::nullopt);
    }
    PaintTiming(painter, picture, palette());
    if (empty) {
        painter.setPen(palette().color(QPalette::PlaceholderText));
        painter.drawText(picture.geometry.bars, Qt::AlignCenter, QStringLiteral("Each exchange with the card shows here as a bar."));
    }
}

QString TimingChart::Summary() const
{
    if (!m_model)
        return QStringLiteral("No trace");
    const TraceLook look = m_model->Look();
    const TraceTiming& timing = look.timing();
    const TimeSpan span = SpanOf(timing);
    const auto [first, last] = BarsIn(timing.bars, span);
    QString summary = QStringLiteral("%1 exchanges, %2 in view from %3 to %4")
                          .arg(timing.bars.size())
                          .arg(last - first)
                          .arg(DurationText(span.startNs - timing.firstNs), DurationText(span.EndNs() - timing.firstNs));
    if (m_selectedRow >= 0 && m_selectedRow < look.trace().rows.size())
        summary += QStringLiteral("; selected: %1").arg(TimingRowText(look.trace(), timing, m_selectedRow));
    return summary;
}

QSize TimingChart::sizeHint() const { return {480, fontMetrics().height() * 8}; }

QSize TimingChart::minimumSizeHint() const { return {120, fontMetrics().height() * 6}; }

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
