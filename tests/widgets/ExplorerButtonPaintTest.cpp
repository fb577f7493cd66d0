#include "ExplorerButtonFixture.h"
#include "WidgetTestHelpers.h"

#include "base/Colours.h"

#include <QMenu>

namespace {

// A glyph of a dark square on a white ground (white is its transparent colour).
QImage SquareGlyph()
{
    QImage glyph(20, 20, QImage::Format_RGB32);
    glyph.fill(Qt::white);
    QPainter(&glyph).fillRect(4, 4, 12, 12, QColor(20, 20, 20));
    return glyph;
}

const QColor Red(255, 0, 0), Blue(0, 0, 255);

} // namespace

// The main window's buttons: icon-only, glyph left, no bevel, an overlay text.
TEST_F(ExplorerButtonTest, OverlayTakesTheUnselectedColourUntilTheMouseIsOverAndShiftsWhileHeld)
{
    first->resize(117, 49);
    first->setOptions(TButtonOption::boIconOnly);
    first->setLayout(TButtonLayout::blBitmapLeft);
    first->setAlignment(TAlignment::taLeftJustify);
    first->setBitmap(SquareGlyph());
    first->setOvActive(QStringLiteral("TRANSMIT"));
    first->setOvLeft(48);
    first->setOvTop(17);
    first->setOvWidth(117);
    first->setUnselectedFontColor(Colours::Red);
    first->setFontColor(Colours::Blue);

    const QImage away = RenderOnGround(*first);
    const QRect redInk = InkBounds(away, NearColour(Red));
    ASSERT_FALSE(redInk.isEmpty());
    EXPECT_GE(redInk.left(), 48);
    EXPECT_TRUE(InkBounds(away, NearColour(Blue)).isEmpty());

    Enter(first);
    const QRect over = InkBounds(RenderOnGround(*first), NearColour(Blue));
    EXPECT_EQ(over, redInk);
    QTest::mousePress(first, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(InkBounds(RenderOnGround(*first), NearColour(Blue)), over.translated(1, 1));
    QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(5, 5));
}

TEST_F(ExplorerButtonTest, DisabledGlyphIsEmbossedInSilverAndShadow)
{
    first->setBitmap(SquareGlyph());
    first->setEnabled(false);
    const QImage image = RenderOnGround(*first);
    const QColor shadow = ResolveColour(SystemColour::ButtonShadow, first->palette());
    EXPECT_GT(CountPixels(image, [&](QRgb p) { return p == shadow.rgb(); }), 100);
    EXPECT_GT(CountPixels(image, [](QRgb p) { return p == qRgb(192, 192, 192); }), 10);
    EXPECT_EQ(CountPixels(image, [](QRgb p) { return p == qRgb(20, 20, 20); }), 0);

    QImage disabled = SquareGlyph();
    disabled.setPixel(10, 10, qRgb(0, 200, 0));
    first->setDisabledBitmap(disabled);
    EXPECT_EQ(CountPixels(RenderOnGround(*first), [](QRgb p) { return p == qRgb(0, 200, 0); }), 1);
}

TEST_F(ExplorerButtonTest, DownButtonIsFilledWithTheDownPattern)
{
    first->setGroupIndex(1);
    first->setDown(true);
    const QImage image = RenderOnGround(*first);
    const QRgb face = ResolveColour(SystemColour::ButtonFace).rgb();
    const QRgb light = ResolveColour(SystemColour::ButtonHighlight).rgb();
    EXPECT_EQ(image.pixel(10, 10), light);
    EXPECT_EQ(image.pixel(11, 10), face);
    first->setShowDownPattern(false);
    EXPECT_EQ(RenderOnGround(*first).pixel(11, 10), qRgb(255, 255, 255));
}

TEST_F(ExplorerButtonTest, BevelShowsUnderTheMouseAndSinksWhilePressed)
{
    const QColor light(250, 250, 250), dark(60, 60, 60);
    first->setFrameHighLite(Colours::Rgb(250, 250, 250));
    first->setFrameShadow(Colours::Rgb(60, 60, 60));
    EXPECT_EQ(RenderOnGround(*first).pixel(0, 5), qRgb(255, 255, 255)); // no bevel while away
    Enter(first);
    QImage image = RenderOnGround(*first);
    EXPECT_EQ(QColor(image.pixel(0, 5)), light);
    EXPECT_EQ(QColor(image.pixel(49, 5)), dark);
    QTest::mousePress(first, Qt::LeftButton, {}, QPoint(5, 5));
    image = RenderOnGround(*first);
    EXPECT_EQ(QColor(image.pixel(0, 5)), dark);
    EXPECT_EQ(QColor(image.pixel(49, 5)), light);
    QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(5, 5));
    first->setOptions({});
    EXPECT_EQ(RenderOnGround(*first).pixel(0, 5), qRgb(255, 255, 255));
}

TEST_F(ExplorerButtonTest, MonoDisplayShowsTheUnfocusedGlyphWhileTheMouseIsAway)
{
    QImage glyph = SquareGlyph();
    QPainter(&glyph).fillRect(4, 4, 12, 12, QColor(100, 50, 40)); // becomes the highlight colour
    first->setBitmap(glyph);
    first->setOptions(TButtonOption::boMonoDisplay);
    const QRgb highlight = ResolveColour(SystemColour::ButtonHighlight, first->palette()).rgb();
    EXPECT_EQ(first->IBitmap().pixel(8, 8), highlight);
    const QPoint centre = QPoint(25, 20); // centre of the glyph drawn at (15, 10)
    EXPECT_EQ(RenderOnGround(*first, Qt::black).pixel(centre), highlight);
    Enter(first);
    EXPECT_EQ(RenderOnGround(*first, Qt::black).pixel(centre), qRgb(100, 50, 40));
}

TEST_F(ExplorerButtonTest, PopupMarkIsDrawnBesideTheGlyphWithADropDownMenu)
{
    QMenu menu;
    first->setBitmap(SquareGlyph());
    first->setFontColor(Colours::Red);
    first->setUnselectedFontColor(Colours::Red);
    EXPECT_TRUE(InkBounds(RenderOnGround(*first), NearColour(Red, 0)).isEmpty());
    first->setDropDownMenu(&menu);
    // The 30-wide glyph room is centred at 10; the mark's top row at (10 + 20 + 7, 20 - 1).
    EXPECT_EQ(InkBounds(RenderOnGround(*first), NearColour(Red, 0)), QRect(37, 19, 7, 4));
}

TEST_F(ExplorerButtonTest, AwkwardContentPaintsWithoutFault)
{
    first->setCaption(QString(300, u'W') + u'&');
    first->setOvActive(QString(400, u'x'));
    first->setWordWrap(true);
    for (const QSize size : {QSize(0, 0), QSize(1, 1), QSize(3, 50), QSize(200, 3)}) {
        first->resize(size);
        for (const bool enabled : {true, false}) {
            first->setEnabled(enabled);
            first->setBitmap(enabled ? QImage() : SquareGlyph());
            QImage image(10, 10, QImage::Format_ARGB32);
            first->render(&image);
            first->setWordWrap(!first->WordWrap());
        }
    }
    first->resize(80, 40);
    first->setEnabled(true);
    first->setWordWrap(false);
    EXPECT_FALSE(InkBounds(RenderOnGround(*first), NearColour(Qt::black, 120)).isEmpty());
}
