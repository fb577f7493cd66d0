#pragma once

#include <QColor>
#include <QRect>

class QPainter;

// The one-pixel frame of `rect`: the left and top edges in `topLeft`, the right and
// bottom edges in `bottomRight`. The top-right corner belongs to the right edge,
// the bottom-left corner to the left one.
void DrawBevel(QPainter& painter, const QRect& rect, const QColor& topLeft, const QColor& bottomRight);
