#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

// A widget painted on its own onto a plain ground (no window background).
inline QImage RenderOnGround(QWidget& widget, const QColor& ground = Qt::white)
{
    QImage image(widget.size(), QImage::Format_ARGB32);
    image.fill(ground);
    widget.render(&image, QPoint(), QRegion(), QWidget::DrawChildren);
    return image;
}

// The bounding box of the pixels that pass `isInk`; an empty rectangle when none do.
inline QRect InkBounds(const QImage& image, const std::function<bool(QRgb)>& isInk)
{
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (isInk(image.pixel(x, y)))
                bounds |= QRect(x, y, 1, 1);
    return bounds;
}

// Pixels close to `colour` (anti-aliased text has few exact ones).
inline std::function<bool(QRgb)> NearColour(const QColor& colour, int tolerance = 40)
{
    return [colour, tolerance](QRgb pixel) {
        return std::abs(qRed(pixel) - colour.red()) <= tolerance && std::abs(qGreen(pixel) - colour.green()) <= tolerance
               && std::abs(qBlue(pixel) - colour.blue()) <= tolerance;
    };
}

inline int CountPixels(const QImage& image, const std::function<bool(QRgb)>& matches)
{
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += matches(image.pixel(x, y)) ? 1 : 0;
    return count;
}
