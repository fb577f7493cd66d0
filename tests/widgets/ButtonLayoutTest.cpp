#include "widgets/ButtonLayout.h"

#include <QFont>
#include <QFontMetrics>
#include <gtest/gtest.h>

namespace {

ButtonLayoutInput Input(QSize button, QSize glyph, QSize caption, TButtonLayout layout, TAlignment alignment)
{
    ButtonLayoutInput input;
    input.button = button;
    input.glyph = glyph;
    input.caption = caption;
    input.showCaption = !caption.isEmpty();
    input.layout = layout;
    input.alignment = alignment;
    return input;
}

using L = TButtonLayout;
using A = TAlignment;

} // namespace

TEST(ButtonLayout, StackedLayoutsPlaceGlyphAndCaptionByAlignment)
{
    // 50 x 40, glyph 16 x 16, caption 30 x 13: f = 40 - 13 - 16 - 2 = 9.
    const QSize button(50, 40), glyph(16, 16), caption(30, 13);
    auto top = LayOutButton(Input(button, glyph, caption, L::blBitmapTop, A::taCenter));
    EXPECT_EQ(top.glyph, QRect(17, 4, 16, 16));
    EXPECT_EQ(top.caption, QRect(10, 22, 30, 13));
    auto bottom = LayOutButton(Input(button, glyph, caption, L::blBitmapBottom, A::taCenter));
    EXPECT_EQ(bottom.caption.topLeft(), QPoint(10, 4));
    EXPECT_EQ(bottom.glyph.topLeft(), QPoint(17, 19));
    auto left = LayOutButton(Input(button, glyph, caption, L::blBitmapTop, A::taLeftJustify));
    EXPECT_EQ(left.glyph.left(), 3);
    EXPECT_EQ(left.caption.left(), 3);
    auto right = LayOutButton(Input(button, glyph, caption, L::blBitmapBottom, A::taRightJustify));
    EXPECT_EQ(right.glyph.left(), 31);
    EXPECT_EQ(right.caption.left(), 17);
}

TEST(ButtonLayout, SideBySideLayoutsPlaceGlyphAndCaptionByAlignment)
{
    // 117 x 49, glyph 40 x 40, caption 50 x 13: both centred vertically.
    const QSize button(117, 49), glyph(40, 40), caption(50, 13);
    struct Case {
        L layout;
        A alignment;
        int glyphLeft, captionLeft;
    };
    const Case cases[] = {
        {L::blBitmapLeft, A::taLeftJustify, 3, 45},   {L::blBitmapLeft, A::taRightJustify, 22, 64},
        {L::blBitmapLeft, A::taCenter, 12, 54},       {L::blBitmapRight, A::taLeftJustify, 55, 3},
        {L::blBitmapRight, A::taRightJustify, 74, 22}, {L::blBitmapRight, A::taCenter, 64, 12},
    };
    for (const Case& c : cases) {
        const auto g = LayOutButton(Input(button, glyph, caption, c.layout, c.alignment));
        EXPECT_EQ(g.glyph, QRect(c.glyphLeft, 4, 40, 40)) << int(c.layout) << " " << int(c.alignment);
        EXPECT_EQ(g.caption, QRect(c.captionLeft, 18, 50, 13)) << int(c.layout) << " " << int(c.alignment);
    }
}

TEST(ButtonLayout, IconOnlyButtonCentresTheGlyphAlone)
{
    auto input = Input(QSize(117, 49), QSize(40, 40), QSize(), L::blBitmapLeft, A::taCenter);
    const auto g = LayOutButton(input);
    EXPECT_EQ(g.glyph.topLeft(), QPoint(38, 4));
    input.alignment = A::taLeftJustify;
    EXPECT_EQ(LayOutButton(input).glyph.topLeft(), QPoint(3, 4));
}

TEST(ButtonLayout, SideBySideCaptionShrinksToTheRoomLeft)
{
    // 60 - 4 < 30 + 40 + 2: the caption gets what is left, 60 - 2 - 40 - 4.
    const auto g = LayOutButton(Input(QSize(60, 40), QSize(40, 20), QSize(30, 13), L::blBitmapLeft, A::taLeftJustify));
    EXPECT_EQ(g.caption.width(), 14);
    EXPECT_EQ(g.caption.left(), 45);
}

TEST(ButtonLayout, WordWrapKeepsTheCaptionFiveAwayFromTheRightEdge)
{
    auto input = Input(QSize(60, 40), QSize(16, 16), QSize(40, 26), L::blBitmapLeft, A::taLeftJustify);
    input.wordWrap = true;
    const auto g = LayOutButton(input); // tw shrinks to 38 at x 21, then to 60 - 21 - 5
    EXPECT_EQ(g.caption, QRect(21, 7, 34, 26));
    input.wordWrap = false;
    EXPECT_EQ(LayOutButton(input).caption.width(), 38);
}

TEST(ButtonLayout, EmptyGlyphCentresTheCaptionAndMakesRoomForThePopupMark)
{
    auto input = Input(QSize(50, 40), QSize(), QSize(30, 13), L::blBitmapTop, A::taCenter);
    auto g = LayOutButton(input);
    EXPECT_FALSE(g.hasGlyph);
    EXPECT_EQ(g.caption, QRect(10, 13, 30, 13));
    input.popupMark = true; // tw + 10 placed, the caption itself at most W - 14 wide
    g = LayOutButton(input);
    EXPECT_EQ(g.caption, QRect(5, 13, 30, 13));
    EXPECT_EQ(PopupMarkPosition(g, true), QPoint(39, 20));
    EXPECT_EQ(PopupMarkPosition(g, false), QPoint(42, 19));
    input.alignment = A::taRightJustify;
    EXPECT_EQ(LayOutButton(input).caption.left(), 7);
}

TEST(ButtonLayout, PopupMarkWidensTheGlyphAndStandsBesideIt)
{
    auto input = Input(QSize(50, 40), QSize(16, 16), QSize(), L::blBitmapTop, A::taCenter);
    input.popupMark = true;
    const auto g = LayOutButton(input);
    EXPECT_EQ(g.glyph, QRect(12, 12, 16, 16)); // centred as 26 wide
    EXPECT_EQ(PopupMarkPosition(g, true), QPoint(32, 21));
    EXPECT_EQ(PopupMarkPosition(g, false), QPoint(35, 20));
}

TEST(ButtonLayout, ZeroSizedButtonGivesNoNegativeSizes)
{
    auto input = Input(QSize(0, 0), QSize(16, 16), QSize(30, 13), L::blBitmapLeft, A::taCenter);
    input.wordWrap = true;
    const auto g = LayOutButton(input);
    EXPECT_GE(g.caption.width(), 0);
    EXPECT_GE(g.caption.height(), 0);
    const QFontMetrics metrics{QFont()};
    EXPECT_EQ(MeasureCaption(metrics, QStringLiteral("Caption"), 0, true).width(), 0);
}

TEST(ButtonLayout, CaptionIsMeasuredWithoutItsAcceleratorMarkAndAtMostFourNarrower)
{
    const QFontMetrics metrics{QFont()};
    const QSize plain = MeasureCaption(metrics, QStringLiteral("Send"), 200, false);
    EXPECT_EQ(MeasureCaption(metrics, QStringLiteral("&Send"), 200, false), plain);
    EXPECT_EQ(MeasureCaption(metrics, QString(300, u'W'), 80, false).width(), 76);
    const QSize wrapped = MeasureCaption(metrics, QStringLiteral("one two three four"), 40, true);
    EXPECT_GT(wrapped.height(), plain.height());
}
