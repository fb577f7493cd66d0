#include "WidgetTestHelpers.h"

#include "widgets/KxPanel.h"
#include "widgets/Label3D.h"
#include "widgets/SystemColours.h"

#include <QApplication>
#include <gtest/gtest.h>

TEST(KxPanel, TopBarFollowsTheParentsTopEdgeThenLeavesA20PixelRaisedPanel)
{
    QWidget parent;
    parent.resize(300, 200);
    auto* panel = new TKxPanel(&parent);
    panel->setGeometry(10, 50, 80, 33);
    parent.show(); // hidden widgets get their resize events only when shown
    panel->setTopBar(true);
    EXPECT_EQ(panel->geometry(), QRect(0, 0, 300, 2));
    EXPECT_EQ(panel->BevelInner(), TPanelBevel::bvLowered);
    EXPECT_EQ(panel->BevelOuter(), TPanelBevel::bvNone);
    parent.resize(400, 200);
    EXPECT_EQ(panel->width(), 400);

    panel->setTopBar(false);
    EXPECT_EQ(panel->height(), 20);
    EXPECT_FALSE(panel->AlignedTop());
    EXPECT_EQ(panel->BevelOuter(), TPanelBevel::bvRaised);
    EXPECT_EQ(panel->BevelInner(), TPanelBevel::bvNone);
    parent.resize(250, 200);
    EXPECT_EQ(panel->width(), 400); // no longer follows the parent
}

TEST(KxPanel, SettingTheSameTopBarValueChangesNothing)
{
    TKxPanel panel;
    panel.resize(80, 33);
    panel.setBevelInner(TPanelBevel::bvLowered);
    panel.setTopBar(false);
    EXPECT_EQ(panel.size(), QSize(80, 33));
    EXPECT_EQ(panel.BevelInner(), TPanelBevel::bvLowered);
}

TEST(KxPanel, TopBarPaintsALoweredLine)
{
    QWidget parent;
    parent.resize(40, 40);
    auto* panel = new TKxPanel(&parent);
    panel->setTopBar(true);
    const QImage image = RenderOnGround(*panel);
    EXPECT_EQ(image.pixel(5, 0), ResolveColour(SystemColour::ButtonShadow, panel->palette()).rgb());
    EXPECT_EQ(image.pixel(5, 1), ResolveColour(SystemColour::ButtonHighlight, panel->palette()).rgb());
}

namespace {

void Arrange(TLabel3D& label, QSize size, QPoint offsets)
{
    label.resize(size);
    label.setOLeft(offsets.x());
    label.setOTop(offsets.y());
}

QRect WhiteInk(TLabel3D& label)
{
    return InkBounds(RenderOnGround(label), NearColour(Qt::white, 60));
}

} // namespace

TEST(Label3D, DefaultsAreWhiteBoldArialOnTealWithOffsetsFiveAndTwo)
{
    TLabel3D label;
    EXPECT_EQ(label.oLeft(), 5);
    EXPECT_EQ(label.OTop(), 2);
    EXPECT_TRUE(label.font().bold());
    EXPECT_EQ(label.font().pointSize(), 9);
    EXPECT_EQ(label.font().family(), QStringLiteral("Arial"));
    EXPECT_EQ(label.palette().color(QPalette::Window), QColor(0, 128, 128));
    EXPECT_EQ(label.palette().color(QPalette::WindowText), QColor(Qt::white));
}

TEST(Label3D, CaptionIsDrawnShiftedByTheOffsetsOnItsFilledBox)
{
    TLabel3D label(QStringLiteral("Active Log"));
    Arrange(label, QSize(120, 22), QPoint(0, 0));
    const QRect plain = WhiteInk(label);
    ASSERT_FALSE(plain.isEmpty());
    Arrange(label, QSize(120, 22), QPoint(5, 2));
    const QRect shifted = WhiteInk(label);
    EXPECT_EQ(shifted.topLeft(), plain.topLeft() + QPoint(5, 2));
    EXPECT_EQ(QColor(RenderOnGround(label).pixel(119, 21)), QColor(0, 128, 128)); // the whole box is filled
}

TEST(Label3D, CaptionRunsOffTheRightAndBottomEdges)
{
    TLabel3D label(QStringLiteral("A caption far longer than its label is wide"));
    Arrange(label, QSize(60, 14), QPoint(30, 4));
    const QRect ink = WhiteInk(label);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 30);
    EXPECT_EQ(ink.right(), 59);  // cut at the label's edge
    EXPECT_EQ(ink.bottom(), 13);
}

TEST(Label3D, DisabledCaptionIsGreyText)
{
    TLabel3D label(QStringLiteral("Ready."));
    label.resize(120, 22);
    label.setEnabled(false);
    const QColor grey = ResolveColour(SystemColour::GrayText, QApplication::palette(&label));
    ASSERT_NE(grey, QColor(Qt::white));
    const QImage image = RenderOnGround(label);
    EXPECT_GT(CountPixels(image, [&](QRgb pixel) { return pixel == grey.rgb(); }), 5);
    EXPECT_TRUE(InkBounds(image, NearColour(Qt::white, 10)).isEmpty());
}

TEST(Label3D, AmpersandMarksTheAcceleratorOnlyWhenShowingThem)
{
    TLabel3D label(QStringLiteral("&&&&&&&&"));
    label.resize(200, 22);
    const int shown = WhiteInk(label).width(); // four ampersands
    label.setShowAccelChar(false);
    EXPECT_GT(WhiteInk(label).width(), shown + shown / 2); // eight
}

TEST(Label3D, TransparentLabelLeavesTheGround)
{
    TLabel3D label(QStringLiteral("x"));
    label.resize(40, 20);
    label.setTransparent(true);
    EXPECT_EQ(QColor(RenderOnGround(label, Qt::red).pixel(39, 19)), QColor(Qt::red));
}
