#include "widgets/Accelerator.h"
#include "widgets/GlyphImages.h"
#include "widgets/SystemColours.h"

#include <gtest/gtest.h>

namespace {

const QColor Highlight(250, 250, 240);
const QColor Shadow(128, 128, 128);
constexpr QRgb Ground = qRgb(0, 128, 128); // pixel (0, 0): the transparent colour

// A colour whose red + green + blue is `sum`.
QRgb WithSum(int sum)
{
    const int red = std::min(255, sum), green = std::min(255, sum - red);
    return qRgb(red, green, sum - red - green);
}

// One row: the ground colour, then one pixel per sum.
QImage Row(const std::vector<int>& sums)
{
    QImage image(int(sums.size()) + 1, 1, QImage::Format_RGB32);
    image.setPixel(0, 0, Ground);
    for (size_t i = 0; i < sums.size(); ++i)
        image.setPixel(int(i) + 1, 0, WithSum(sums[i]));
    return image;
}

} // namespace

TEST(UnfocusedGlyph, EachShadingSplitsAtItsThresholds)
{
    const QRgb white = qRgb(255, 255, 255), light = Highlight.rgb(), dark = Shadow.rgb(), black = qRgb(0, 0, 0);
    struct Case {
        TShadingType shading;
        std::vector<int> sums;
        std::vector<QRgb> expected;
    };
    const Case cases[] = {
        {TShadingType::stLight, {206, 205, 128, 127, 69, 68}, {white, light, light, dark, dark, black}},
        {TShadingType::stMedium, {554, 553, 232, 231, 58, 57}, {white, light, light, dark, dark, black}},
        {TShadingType::stDark, {336, 335, 275, 274, 176, 175}, {white, light, light, dark, dark, black}},
    };
    for (const Case& c : cases) {
        const QImage shaded = UnfocusedGlyph(Row(c.sums), c.shading, Highlight, Shadow);
        for (size_t i = 0; i < c.sums.size(); ++i)
            EXPECT_EQ(shaded.pixel(int(i) + 1, 0), c.expected[i]) << "shading " << int(c.shading) << " sum " << c.sums[i];
    }
}

TEST(UnfocusedGlyph, LightShadingOfTheDescribedColoursKeepsTheTransparentColour)
{
    QImage glyph(3, 2, QImage::Format_RGB32);
    glyph.fill(Ground);
    glyph.setPixel(1, 0, qRgb(100, 50, 40));
    glyph.setPixel(2, 0, qRgb(30, 20, 10));
    const QImage shaded = UnfocusedGlyph(glyph, TShadingType::stLight, Highlight, Shadow);
    EXPECT_EQ(shaded.pixel(1, 0), Highlight.rgb());
    EXPECT_EQ(shaded.pixel(2, 0), qRgb(0, 0, 0));
    EXPECT_EQ(shaded.pixel(0, 0), Ground);
    EXPECT_EQ(shaded.pixel(2, 1), Ground); // the ground colour stays wherever it is
    EXPECT_TRUE(UnfocusedGlyph(QImage(), TShadingType::stLight, Highlight, Shadow).isNull());
}

TEST(GlyphImages, TransparentGlyphClearsOnlyTheCornerColour)
{
    QImage glyph(2, 1, QImage::Format_RGB32);
    glyph.setPixel(0, 0, Ground);
    glyph.setPixel(1, 0, qRgb(200, 0, 0));
    const QImage drawn = TransparentGlyph(glyph);
    EXPECT_EQ(qAlpha(drawn.pixel(0, 0)), 0);
    EXPECT_EQ(drawn.pixel(1, 0), qRgb(200, 0, 0));
}

TEST(GlyphImages, UnfocusedGlyphIsClearedWhereTheGlyphHadItsGround)
{
    QImage glyph(2, 1, QImage::Format_RGB32);
    glyph.setPixel(0, 0, qRgb(255, 255, 255));
    glyph.setPixel(1, 0, qRgb(100, 50, 40));
    const QImage shaded = UnfocusedGlyph(glyph, TShadingType::stLight, Qt::white, Shadow);
    const QImage drawn = ClearedLike(shaded, glyph); // the pixel shaded white still shows
    EXPECT_EQ(qAlpha(drawn.pixel(0, 0)), 0);
    EXPECT_EQ(drawn.pixel(1, 0), qRgb(255, 255, 255));
}

TEST(GlyphImages, SilhouetteColoursTheShapeButNotGroundOrWhite)
{
    QImage glyph(3, 1, QImage::Format_RGB32);
    glyph.setPixel(0, 0, Ground);
    glyph.setPixel(1, 0, qRgb(255, 255, 255));
    glyph.setPixel(2, 0, qRgb(10, 20, 30));
    const QImage shape = GlyphSilhouette(glyph, Shadow);
    EXPECT_EQ(qAlpha(shape.pixel(0, 0)), 0);
    EXPECT_EQ(qAlpha(shape.pixel(1, 0)), 0);
    EXPECT_EQ(shape.pixel(2, 0), Shadow.rgb());
}

TEST(GlyphImages, DownPatternIsACheckerOfHighlightOnFace)
{
    const QColor face(192, 192, 192);
    const QImage pattern = MakeDownPattern(face, Highlight);
    ASSERT_EQ(pattern.size(), QSize(8, 8));
    EXPECT_EQ(pattern.pixel(0, 0), Highlight.rgb());
    EXPECT_EQ(pattern.pixel(1, 1), Highlight.rgb());
    EXPECT_EQ(pattern.pixel(1, 0), face.rgb());
    EXPECT_EQ(pattern.pixel(6, 7), face.rgb());
}

TEST(Accelerator, MarksAreDroppedAndDoubledAmpersandsKeptOnce)
{
    EXPECT_EQ(StripAccelerators(QStringLiteral("&Initialize")), QStringLiteral("Initialize"));
    EXPECT_EQ(StripAccelerators(QStringLiteral("Save && E&xit")), QStringLiteral("Save & Exit"));
    EXPECT_EQ(StripAccelerators(QStringLiteral("Trailing&")), QStringLiteral("Trailing"));
    EXPECT_EQ(AcceleratorOf(QStringLiteral("&Send Data")), QChar(u'S'));
    EXPECT_EQ(AcceleratorOf(QStringLiteral("Save && e&xit")), QChar(u'X'));
    EXPECT_TRUE(AcceleratorOf(QStringLiteral("A && B")).isNull());
    EXPECT_TRUE(AcceleratorOf(QStringLiteral("Ends with &")).isNull());
}

TEST(SystemColours, PlainValuesAreBgrAndIndexesFollowThePalette)
{
    QPalette palette;
    palette.setColor(QPalette::Disabled, QPalette::WindowText, QColor(1, 2, 3));
    palette.setColor(QPalette::Active, QPalette::Light, QColor(4, 5, 6));
    palette.setColor(QPalette::Active, QPalette::WindowText, QColor(7, 8, 9));
    EXPECT_EQ(ResolveColour(0x808000, palette), QColor(0, 128, 128));
    EXPECT_EQ(ResolveColour(SystemColour::GrayText, palette), QColor(1, 2, 3));
    EXPECT_EQ(ResolveColour(SystemColour::ButtonHighlight, palette), QColor(4, 5, 6));
    EXPECT_EQ(ResolveColour(0x80000099, palette), QColor(7, 8, 9));
}
