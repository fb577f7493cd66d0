#include "widgets/GlyphImages.h"

#include <algorithm>
#include <array>
#include <functional>

namespace {

struct Thresholds {
    int white, highlight, shadow; // a colour sum above the value takes that colour
};

constexpr std::array<Thresholds, 3> ShadingThresholds{{
    {205, 127, 68},  // stLight
    {553, 231, 57},  // stMedium
    {335, 274, 175}, // stDark
}};

int ColourSum(QRgb pixel) { return qRed(pixel) + qGreen(pixel) + qBlue(pixel); }

// Every pixel not of the transparent colour passed through `recolour`; the
// transparent colour's pixels through `background`.
QImage MapPixels(const QImage& glyph, const std::function<QRgb(QRgb)>& recolour,
                 const std::function<QRgb(QRgb)>& background)
{
    if (glyph.isNull())
        return {};
    QImage image = glyph.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = image.pixel(0, 0);
    for (int y = 0; y < image.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
        for (int x = 0; x < image.width(); ++x)
            line[x] = line[x] == transparent ? background(line[x]) : recolour(line[x]);
    }
    return image;
}

QRgb Unchanged(QRgb pixel) { return pixel; }
QRgb Cleared(QRgb) { return qRgba(0, 0, 0, 0); }

} // namespace

QImage UnfocusedGlyph(const QImage& glyph, TShadingType shading, const QColor& highlight, const QColor& shadow)
{
    const Thresholds limits = ShadingThresholds[static_cast<size_t>(shading)];
    const auto shade = [&](QRgb pixel) -> QRgb {
        const int sum = ColourSum(pixel);
        if (sum > limits.white)
            return qRgb(255, 255, 255);
        if (sum > limits.highlight)
            return highlight.rgb();
        if (sum > limits.shadow)
            return shadow.rgb();
        return qRgb(0, 0, 0);
    };
    return MapPixels(glyph, shade, Unchanged);
}

QImage TransparentGlyph(const QImage& glyph) { return MapPixels(glyph, Unchanged, Cleared); }

QImage ClearedLike(const QImage& image, const QImage& glyph)
{
    if (image.isNull() || glyph.isNull())
        return image;
    QImage cleared = image.convertToFormat(QImage::Format_ARGB32);
    const QRgb transparent = glyph.pixel(0, 0);
    const int width = std::min(cleared.width(), glyph.width()), height = std::min(cleared.height(), glyph.height());
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (glyph.pixel(x, y) == transparent)
                cleared.setPixel(x, y, Cleared(0));
    return cleared;
}

QImage GlyphSilhouette(const QImage& glyph, const QColor& colour)
{
    const auto shape = [&](QRgb pixel) -> QRgb {
        const bool white = (pixel & 0xFFFFFF) == 0xFFFFFF;
        return white || qAlpha(pixel) == 0 ? Cleared(pixel) : colour.rgb();
    };
    return MapPixels(glyph, shape, Cleared);
}

QImage MakeDownPattern(const QColor& face, const QColor& highlight)
{
    constexpr int Size = 8;
    QImage pattern(Size, Size, QImage::Format_RGB32);
    for (int y = 0; y < Size; ++y)
        for (int x = 0; x < Size; ++x)
            pattern.setPixel(x, y, (x % 2 == y % 2 ? highlight : face).rgb());
    return pattern;
}
