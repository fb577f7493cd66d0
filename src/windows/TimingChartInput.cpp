// The timing chart's keys, mouse and wheel.
#include "windows/TimingChart.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWheelEvent>
#include <cmath>

namespace {

// Left and Right move the span by an eighth; + and - zoom by half as much again.
constexpr double PanStep = 1.0 / 8;
constexpr double ZoomStep = 1.5;
// A wheel's notch zooms by a quarter.
constexpr double WheelZoom = 1.25;
constexpr double WheelNotch = 120;
// A press that moves this far (pixels) drags the span rather than choosing a bar.
constexpr int DragDistance = 3;

} // namespace

bool TimingChart::event(QEvent* event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto* help = static_cast<QHelpEvent*>(event);
    const int row = RowAtPoint(help->pos());
    if (row < 0)
        QToolTip::hideText();
    else
        QToolTip::showText(help->globalPos(), RowDescription(row), this);
    return true;
}

void TimingChart::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left: PanBy(-PanStep); break;
    case Qt::Key_Right: PanBy(PanStep); break;
    case Qt::Key_Plus:
    case Qt::Key_Equal: ZoomBy(ZoomStep); break;
    case Qt::Key_Minus: ZoomBy(1 / ZoomStep); break;
    case Qt::Key_Home: ShowStart(); break;
    case Qt::Key_End: ShowEnd(); break;
    case Qt::Key_0: ShowAll(); break;
    case Qt::Key_Up: StepExchange(-1); break;
    case Qt::Key_Down: StepExchange(1); break;
    default: QWidget::keyPressEvent(event); return;
    }
    event->accept();
}

void TimingChart::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QWidget::mousePressEvent(event);
    m_pressedAt = event->position();
    m_pressedSpan = Span();
    m_dragging = false;
}

void TimingChart::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_pressedAt || !(event->buttons() & Qt::LeftButton))
        return QWidget::mouseMoveEvent(event);
    const double moved = event->position().x() - m_pressedAt->x();
    if (!m_dragging && (event->position() - *m_pressedAt).manhattanLength() < DragDistance)
        return;
    m_dragging = true;
    setCursor(Qt::ClosedHandCursor);
    const TimeSpan from = m_pressedSpan;
    const double width = std::max(1, this->width());
    ChooseSpan([&](const TimeSpan&, const TimeSpan& whole) {
        return Panned(from, -qint64(moved * double(from.lengthNs) / width), whole);
    });
}

void TimingChart::mouseReleaseEvent(QMouseEvent* event)
{
    if (!m_pressedAt || event->button() != Qt::LeftButton)
        return QWidget::mouseReleaseEvent(event);
    if (!m_dragging) {
        const int row = RowAtPoint(event->position());
        if (row >= 0)
            ChooseRow(row);
    }
    m_pressedAt.reset();
    m_dragging = false;
    unsetCursor();
}

void TimingChart::wheelEvent(QWheelEvent* event)
{
    const QPoint notches = event->angleDelta();
    if (notches.y() != 0)
        ZoomBy(std::pow(WheelZoom, notches.y() / WheelNotch), event->position().x() / std::max(1, width()));
    if (notches.x() != 0)
        PanBy(-PanStep * notches.x() / WheelNotch);
    event->accept();
}
