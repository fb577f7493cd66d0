#pragma once

#include <QFlags>

// The picture button's settings, named as window layouts store them.

// Where the glyph stands relative to the caption.
enum class TButtonLayout { blBitmapTop, blBitmapBottom, blBitmapLeft, blBitmapRight };

// Horizontal placement of glyph and caption.
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };

enum class TButtonOption {
    boMonoDisplay = 1, // the unfocused glyph while the mouse is away
    boIconOnly = 2,    // the caption is not drawn; it becomes the hint
    boPopupMark = 4,   // a small triangle beside the glyph when there is a drop-down menu
    boShowBevel = 8,   // the frame under the mouse and while pressed
};
Q_DECLARE_FLAGS(TButtonOptions, TButtonOption)
Q_DECLARE_OPERATORS_FOR_FLAGS(TButtonOptions)

// Thresholds of the unfocused glyph.
enum class TShadingType { stLight, stMedium, stDark };

// Which frame colour goes top-left (raised: the highlight) and which bottom-right.
enum class TBevelStyle { bsLowered, bsRaised };
