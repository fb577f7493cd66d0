#include "widgets/ButtonLayout.h"

#include <QFontMetrics>
#include <algorithm>

namespace {

constexpr int Margin = 3;        // between the button's edge and glyph or caption
constexpr int WrapMargin = 5;    // right margin of a wrapped caption
constexpr int MeasureMargin = 4; // the caption is measured this much narrower than the button

// The left edge of something `width` wide, placed by the button's alignment.
int AlignedLeft(TAlignment alignment, int buttonWidth, int width)
{
    switch (alignment) {
    case TAlignment::taLeftJustify: return Margin;
    case TAlignment::taRightJustify: return buttonWidth - width - Margin;
    case TAlignment::taCenter: break;
    }
    return (buttonWidth - width) / 2;
}

struct Sizes {
    int W, H, tw, th, sp, gw, gh;
};

void LayOutCaptionOnly(const ButtonLayoutInput& in, Sizes s, ButtonGeometry& g)
{
    int width = s.tw;
    if (in.popupMark) {
        width = std::max(0, std::min(s.tw, s.W - 14));
        s.tw += PopupMarkRoom;
    }
    g.caption = QRect(AlignedLeft(in.alignment, s.W, s.tw), (s.H - s.th) / 2, width, s.th);
}

void LayOutStacked(const ButtonLayoutInput& in, const Sizes& s, ButtonGeometry& g)
{
    const int f = s.H - s.th - s.gh - s.sp;
    const bool glyphFirst = in.layout == TButtonLayout::blBitmapTop;
    const int glyphTop = glyphFirst ? f / 2 : s.sp + s.th + f / 2;
    const int captionTop = glyphFirst ? s.sp + s.gh + f / 2 : f / 2;
    g.glyph.moveTo(AlignedLeft(in.alignment, s.W, s.gw), glyphTop);
    g.caption = QRect(AlignedLeft(in.alignment, s.W, s.tw), captionTop, s.tw, s.th);
}

void LayOutSideBySide(const ButtonLayoutInput& in, Sizes s, ButtonGeometry& g)
{
    if (s.W - MeasureMargin < s.tw + s.gw + s.sp)
        s.tw = std::max(0, s.W - s.sp - s.gw - MeasureMargin);
    // The first of the two is placed by the alignment, the second follows it.
    const bool glyphFirst = in.layout == TButtonLayout::blBitmapLeft;
    const int firstWidth = glyphFirst ? s.gw : s.tw;
    const int secondWidth = glyphFirst ? s.tw : s.gw;
    int first = 0, second = 0;
    switch (in.alignment) {
    case TAlignment::taLeftJustify:
        first = Margin;
        second = first + firstWidth + s.sp;
        break;
    case TAlignment::taRightJustify:
        second = s.W - secondWidth - Margin;
        first = second - (firstWidth + s.sp);
        break;
    case TAlignment::taCenter:
        first = (s.W - s.tw - s.gw - s.sp) / 2;
        second = first + firstWidth + s.sp;
        break;
    }
    g.glyph.moveTo(glyphFirst ? first : second, (s.H - s.gh) / 2);
    g.caption = QRect(glyphFirst ? second : first, (s.H - s.th) / 2, s.tw, s.th);
}

} // namespace

QSize MeasureCaption(const QFontMetrics& metrics, const QString& caption, int buttonWidth, bool wordWrap)
{
    const int room = std::max(0, buttonWidth - MeasureMargin);
    const int flags = Qt::TextShowMnemonic | (wordWrap ? Qt::TextWordWrap : 0);
    const QString text = wordWrap ? caption + u' ' : caption;
    const QRect bounds = metrics.boundingRect(QRect(0, 0, room, 0), flags, text);
    return {std::min(bounds.width(), room), bounds.height()};
}

ButtonGeometry LayOutButton(const ButtonLayoutInput& in)
{
    Sizes s{in.button.width(), in.button.height(), 0, 0, 0, in.glyph.width(), in.glyph.height()};
    if (in.showCaption) {
        s.tw = in.caption.width();
        s.th = in.caption.height();
        s.sp = CaptionSpacing;
    }
    ButtonGeometry g;
    g.hasGlyph = !in.glyph.isEmpty();
    g.glyph = QRect(QPoint(0, 0), in.glyph);
    g.glyphHeight = s.gh;
    if (in.popupMark)
        s.gw += PopupMarkRoom;
    if (!g.hasGlyph)
        LayOutCaptionOnly(in, s, g);
    else if (in.layout == TButtonLayout::blBitmapTop || in.layout == TButtonLayout::blBitmapBottom)
        LayOutStacked(in, s, g);
    else
        LayOutSideBySide(in, s, g);
    if (in.wordWrap && g.caption.left() + g.caption.width() > s.W - WrapMargin)
        g.caption.setWidth(std::max(0, s.W - g.caption.left() - WrapMargin));
    return g;
}

QPoint PopupMarkPosition(const ButtonGeometry& g, bool pressedLook)
{
    const QPoint at = g.hasGlyph
        ? QPoint(g.glyph.left() + g.glyph.width() + 4, g.glyph.top() + g.glyphHeight / 2)
        : QPoint(g.caption.left() + g.caption.width() + 4, g.caption.top() + g.caption.height() / 2);
    return pressedLook ? at + QPoint(0, 1) : at + QPoint(3, 0);
}
