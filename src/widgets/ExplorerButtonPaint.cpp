// Painting of the picture button: the layout is worked out afresh at every paint.
#include "widgets/ExplorerButton.h"

#include "widgets/Bevel.h"
#include "widgets/DownPattern.h"
#include "widgets/GlyphImages.h"

#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>

namespace {

// Captions that do not fit end in an ellipsis. Older desktops could not draw one
// and were asked first; every desktop this program runs on can.
constexpr bool CaptionEllipsis = true;

constexpr QColor Silver(192, 192, 192);
constexpr QPoint OnePixel(1, 1);
constexpr int FocusInset = 3;

int AlignmentFlag(TAlignment alignment)
{
    switch (alignment) {
    case TAlignment::taLeftJustify: return Qt::AlignLeft;
    case TAlignment::taRightJustify: return Qt::AlignRight;
    case TAlignment::taCenter: break;
    }
    return Qt::AlignHCenter;
}

void DrawGlyph(QPainter& painter, const QPoint& at, const QImage& glyph)
{
    if (!glyph.isNull())
        painter.drawImage(at, TransparentGlyph(glyph));
}

} // namespace

ButtonGeometry TExplorerButton::geometry() const
{
    ButtonLayoutInput input;
    input.button = size();
    input.glyph = m_bitmap.size();
    input.showCaption = captionShown();
    if (input.showCaption)
        input.caption = MeasureCaption(fontMetrics(), m_caption, width(), m_wordWrap);
    input.layout = m_layout;
    input.alignment = m_alignment;
    input.popupMark = popupMarkShown();
    input.wordWrap = m_wordWrap;
    return LayOutButton(input);
}

void TExplorerButton::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    const ButtonGeometry g = geometry();
    if (m_down && m_showDownPattern)
        painter.fillRect(rect(), QBrush(SharedDownPattern()));
    QColor font = colour(m_fontColor);
    if (!isEnabled())
        paintDisabled(painter, g);
    else if ((m_pressed && m_mouseIn) || m_down)
        paintDown(painter, g, font);
    else
        paintUp(painter, g, font);
    paintOverlay(painter, isEnabled() ? font : colour(SystemColour::ButtonShadow));
    if (hasFocus()) {
        QStyleOptionFocusRect option;
        option.initFrom(this);
        option.rect = rect().adjusted(FocusInset, FocusInset, -FocusInset, -FocusInset);
        style()->drawPrimitive(QStyle::PE_FrameFocusRect, &option, &painter, this);
    }
}

void TExplorerButton::paintDisabled(QPainter& painter, const ButtonGeometry& g)
{
    if (m_down)
        paintBevel(painter, true);
    const QColor shadow = colour(SystemColour::ButtonShadow);
    if (!m_disabledBitmap.isNull()) {
        DrawGlyph(painter, g.glyph.topLeft(), m_disabledBitmap);
    } else if (!m_bitmap.isNull()) {
        painter.drawImage(g.glyph.topLeft() + OnePixel, GlyphSilhouette(m_bitmap, Silver));
        painter.drawImage(g.glyph.topLeft(), GlyphSilhouette(m_bitmap, shadow));
    }
    if (captionShown()) {
        paintCaption(painter, g.caption.translated(OnePixel), colour(SystemColour::ButtonHighlight));
        paintCaption(painter, g.caption, shadow);
    }
}

void TExplorerButton::paintDown(QPainter& painter, const ButtonGeometry& g, QColor& font)
{
    paintBevel(painter, true);
    if (captionShown())
        paintCaption(painter, g.caption.translated(m_bevelStyle == TBevelStyle::bsRaised ? OnePixel : QPoint()), font);
    DrawGlyph(painter, g.glyph.topLeft() + OnePixel, m_bitmap);
    if (popupMarkShown())
        paintPopupMark(painter, g, true, font);
}

void TExplorerButton::paintUp(QPainter& painter, const ButtonGeometry& g, QColor& font)
{
    if (m_mouseIn)
        paintBevel(painter, false);
    else
        font = colour(m_unselectedFontColor);
    if (captionShown())
        paintCaption(painter, g.caption.translated(m_bevelStyle == TBevelStyle::bsLowered ? OnePixel : QPoint()), font);
    const bool mono = !m_mouseIn && (m_options & TButtonOption::boMonoDisplay);
    if (!mono)
        DrawGlyph(painter, g.glyph.topLeft(), m_bitmap);
    else if (!m_noFocusBitmap.isNull())
        DrawGlyph(painter, g.glyph.topLeft(), m_noFocusBitmap);
    else if (!m_bitmap.isNull())
        painter.drawImage(g.glyph.topLeft(), ClearedLike(IBitmap(), m_bitmap));
    if (popupMarkShown())
        paintPopupMark(painter, g, false, font);
}

// The raised look puts FrameHighLite top-left when BevelStyle is raised; the
// sunken look is its reverse.
void TExplorerButton::paintBevel(QPainter& painter, bool sunken) const
{
    if (!(m_options & TButtonOption::boShowBevel))
        return;
    const bool highlightTopLeft = (m_bevelStyle == TBevelStyle::bsRaised) != sunken;
    const QColor light = colour(m_frameHighLite), dark = colour(m_frameShadow);
    DrawBevel(painter, rect(), highlightTopLeft ? light : dark, highlightTopLeft ? dark : light);
}

void TExplorerButton::paintCaption(QPainter& painter, QRect rect, const QColor& colour) const
{
    const int flags = AlignmentFlag(m_alignment) | Qt::AlignTop | Qt::TextShowMnemonic
                      | (m_wordWrap ? Qt::TextWordWrap : 0);
    QString text = m_caption;
    if (CaptionEllipsis && !m_wordWrap)
        text = fontMetrics().elidedText(text, Qt::ElideRight, rect.width(), Qt::TextShowMnemonic);
    painter.setPen(colour);
    painter.drawText(rect, flags, text);
}

// A small triangle pointing down: rows of 7, 5, 3 and 1 pixels.
void TExplorerButton::paintPopupMark(QPainter& painter, const ButtonGeometry& g, bool pressedLook,
                                     const QColor& colour) const
{
    const QPoint at = PopupMarkPosition(g, pressedLook);
    painter.setPen(colour);
    for (int row = 0; row < 4; ++row)
        painter.drawLine(at.x() + row, at.y() - 1 + row, at.x() + 6 - row, at.y() - 1 + row);
}

// The overlay text fills the rectangle from (ovLeft, ovTop) to (ovWidth, bottom),
// one pixel further right and down while the button is held.
void TExplorerButton::paintOverlay(QPainter& painter, const QColor& colour) const
{
    if (m_ovActive.isEmpty())
        return;
    const int shift = m_pressed ? 1 : 0;
    const QRect area(QPoint(m_ovLeft + shift, m_ovTop + shift), QPoint(m_ovWidth - 1, height() - 1));
    if (!area.isValid())
        return;
    painter.setPen(colour);
    painter.drawText(area, Qt::AlignLeft | Qt::AlignTop | Qt::TextWordWrap | Qt::TextShowMnemonic, m_ovActive);
}
