#pragma once

#include "widgets/ButtonTypes.h"

#include <QRect>
#include <QSize>
#include <QString>

class QFontMetrics;

// Where a picture button puts its glyph, its caption and its popup mark. Pure
// arithmetic on sizes, worked out afresh at every paint.

struct ButtonLayoutInput {
    QSize button;              // W x H
    QSize glyph;               // the glyph's size; empty without a glyph
    QSize caption;             // measured caption (MeasureCaption)
    bool showCaption = false;  // false with boIconOnly or an empty caption
    TButtonLayout layout = TButtonLayout::blBitmapTop;
    TAlignment alignment = TAlignment::taCenter;
    bool popupMark = false;    // boPopupMark and a drop-down menu
    bool wordWrap = false;
};

struct ButtonGeometry {
    QRect glyph;            // top-left at the glyph position, the glyph's own size
    QRect caption;          // where the caption is drawn
    int glyphHeight = 0;    // gh
    bool hasGlyph = false;
};

inline constexpr int CaptionSpacing = 2;  // between glyph and caption
inline constexpr int PopupMarkRoom = 10;  // width the popup mark adds

// The caption's size in a rectangle 4 pixels narrower than the button, at most
// that wide; wrapped at words when `wordWrap` is set. "&" marks take no room.
QSize MeasureCaption(const QFontMetrics& metrics, const QString& caption, int buttonWidth, bool wordWrap);

ButtonGeometry LayOutButton(const ButtonLayoutInput& input);

// Where the popup mark's top row is centred: beside the glyph, or after the
// caption without one. `pressedLook` is the sunken button's position.
QPoint PopupMarkPosition(const ButtonGeometry& geometry, bool pressedLook);
