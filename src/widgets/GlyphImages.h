#pragma once

#include "widgets/ButtonTypes.h"

#include <QColor>
#include <QImage>

// The pictures a picture button derives from its glyph. A glyph's pixel (0, 0)
// gives its transparent colour: that colour is the background, never drawn.

// The glyph shown while the mouse is away (boMonoDisplay): every pixel not of the
// transparent colour becomes white, `highlight`, `shadow` or black by the sum of
// its red, green and blue against the thresholds of `shading`.
QImage UnfocusedGlyph(const QImage& glyph, TShadingType shading, const QColor& highlight, const QColor& shadow);

// The glyph ready to draw: pixels of the transparent colour made fully transparent.
QImage TransparentGlyph(const QImage& glyph);

// `image` cleared (made transparent) wherever `glyph` shows its transparent
// colour: how the unfocused glyph is drawn, so that pixels it turned into the
// transparent colour still show.
QImage ClearedLike(const QImage& image, const QImage& glyph);

// The glyph's shape in one colour, for the embossed look of a disabled button:
// every pixel that is neither the transparent colour nor white (nor transparent)
// takes `colour`, the rest is transparent.
QImage GlyphSilhouette(const QImage& glyph, const QColor& colour);

// The 8 x 8 pattern of a down button: `highlight` where x and y are both even or
// both odd, `face` elsewhere.
QImage MakeDownPattern(const QColor& face, const QColor& highlight);
