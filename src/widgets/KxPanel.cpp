#include "widgets/KxPanel.h"

#include "widgets/Bevel.h"
#include "widgets/SystemColours.h"

#include <QEvent>
#include <QPainter>
#include <algorithm>

TKxPanel::TKxPanel(QWidget* parent) : QFrame(parent)
{
    setAutoFillBackground(true);
}

void TKxPanel::setTopBar(bool topBar)
{
    if (topBar == m_topBar)
        return;
    m_topBar = topBar;
    m_bevelInner = topBar ? TPanelBevel::bvLowered : TPanelBevel::bvNone;
    m_bevelOuter = topBar ? TPanelBevel::bvNone : TPanelBevel::bvRaised;
    setFixedHeight(topBar ? TopBarHeight : PanelHeight);
    setAlignedTop(topBar);
    update();
}

void TKxPanel::setAlignedTop(bool aligned)
{
    m_alignedTop = aligned;
    if (!parentWidget())
        return;
    if (aligned) {
        parentWidget()->installEventFilter(this);
        followParent();
    } else {
        parentWidget()->removeEventFilter(this);
    }
}

void TKxPanel::followParent()
{
    if (m_alignedTop && parentWidget())
        setGeometry(0, 0, parentWidget()->width(), height());
}

bool TKxPanel::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == parentWidget() && event->type() == QEvent::Resize)
        followParent();
    return QFrame::eventFilter(watched, event);
}

void TKxPanel::setBevelInner(TPanelBevel bevel)
{
    m_bevelInner = bevel;
    update();
}

void TKxPanel::setBevelOuter(TPanelBevel bevel)
{
    m_bevelOuter = bevel;
    update();
}

void TKxPanel::setBevelWidth(int width)
{
    m_bevelWidth = std::max(1, width);
    update();
}

void TKxPanel::setCaption(const QString& caption)
{
    m_caption = caption;
    update();
}

// Draws one bevel, BevelWidth pixels deep, and returns the rectangle inside it.
QRect TKxPanel::paintBevel(QPainter& painter, QRect rect, TPanelBevel bevel) const
{
    if (bevel == TPanelBevel::bvNone)
        return rect;
    const QColor light = ResolveColour(SystemColour::ButtonHighlight, palette());
    const QColor dark = ResolveColour(SystemColour::ButtonShadow, palette());
    const bool raised = bevel == TPanelBevel::bvRaised;
    for (int step = 0; step < m_bevelWidth; ++step) {
        DrawBevel(painter, rect, raised ? light : dark, raised ? dark : light);
        rect.adjust(1, 1, -1, -1);
    }
    return rect;
}

void TKxPanel::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const QRect inside = paintBevel(painter, paintBevel(painter, rect(), m_bevelOuter), m_bevelInner);
    painter.setPen(palette().color(QPalette::WindowText));
    painter.drawText(inside, Qt::AlignCenter, m_caption);
}
