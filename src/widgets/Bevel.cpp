#include "widgets/Bevel.h"

#include <QPainter>

void DrawBevel(QPainter& painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight)
{
    if (rect.isEmpty())
        return;
    const int left = rect.left(), top = rect.top(), right = rect.right(), bottom = rect.bottom();
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, false);
    painter.setPen(topLeft);
    painter.drawLine(left, bottom, left, top);
    if (right > left)
        painter.drawLine(left, top, right - 1, top);
    painter.setPen(bottomRight);
    if (bottom > top)
        painter.drawLine(right, top, right, bottom - 1);
    if (right > left)
        painter.drawLine(left + 1, bottom, right, bottom);
    painter.restore();
}
