#include "ExplorerButtonFixture.h"

#include <QMenu>
#include <QTimer>

namespace {

// Closes the menu that pops up next, once its modal loop runs.
void CloseNextPopup()
{
    QTimer::singleShot(0, [] {
        if (QWidget* popup = QApplication::activePopupWidget())
            popup->close();
    });
}

// A menu of one item that counts how often it was shown.
struct CountedMenu {
    CountedMenu() { menu.addAction(QStringLiteral("One")); }
    QMenu menu;
    QSignalSpy shown{&menu, &QMenu::aboutToShow};
};

} // namespace

TEST_F(ExplorerButtonTest, NewButtonHasTheDescribedDefaults)
{
    TExplorerButton button;
    EXPECT_EQ(button.size(), QSize(50, 40));
    EXPECT_EQ(button.Options(), TButtonOption::boPopupMark | TButtonOption::boShowBevel);
    EXPECT_EQ(button.Layout(), TButtonLayout::blBitmapTop);
    EXPECT_EQ(button.Alignment(), TAlignment::taCenter);
    EXPECT_EQ(button.ShadingType(), TShadingType::stLight);
    EXPECT_EQ(button.BevelStyle(), TBevelStyle::bsRaised);
    EXPECT_TRUE(button.ShowDownPattern());
    EXPECT_EQ(button.UnselectedFontColor(), SystemColour::WindowText);
    EXPECT_EQ(button.FrameHighLite(), SystemColour::ButtonHighlight);
    EXPECT_EQ(button.FrameShadow(), SystemColour::ButtonShadow);
    EXPECT_EQ(button.ovWidth(), 50);
    EXPECT_EQ(button.focusPolicy(), Qt::StrongFocus);
}

TEST_F(ExplorerButtonTest, ButtonOutsideAGroupNeverStaysDown)
{
    QSignalSpy clicks(first, &TExplorerButton::clicked);
    first->setDown(true);
    EXPECT_FALSE(first->Down());
    Click(first);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(first->Down());
    EXPECT_FALSE(first->IsPressed());
}

TEST_F(ExplorerButtonTest, ClickingInAGroupMakesTheButtonDownAndReleasesTheOther)
{
    first->setGroupIndex(1);
    second->setGroupIndex(1);
    Click(first);
    EXPECT_TRUE(first->Down());
    Click(second);
    EXPECT_TRUE(second->Down());
    EXPECT_FALSE(first->Down());
    Click(second); // a down button stays down without AllowAllUp
    EXPECT_TRUE(second->Down());

    first->setAllowAllUp(true); // copied to the whole group
    EXPECT_TRUE(second->AllowAllUp());
    Click(second);
    EXPECT_FALSE(second->Down());
}

TEST_F(ExplorerButtonTest, SettingDownReleasesTheGroupAndLeavingTheGroupReleasesTheButton)
{
    auto* other = new TExplorerButton(window.get());
    first->setGroupIndex(1);
    second->setGroupIndex(1);
    other->setGroupIndex(2);
    first->setDown(true);
    other->setDown(true);
    second->setDown(true);
    EXPECT_FALSE(first->Down());
    EXPECT_TRUE(second->Down());
    EXPECT_TRUE(other->Down()); // another group
    second->setGroupIndex(0);
    EXPECT_FALSE(second->Down());
}

TEST_F(ExplorerButtonTest, PressingMovingOffAndReleasingDoesNotClick)
{
    QSignalSpy clicks(first, &TExplorerButton::clicked);
    QTest::mousePress(first, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_TRUE(first->IsPressed());
    QTest::mouseMove(first, QPoint(200, 80));
    EXPECT_FALSE(first->IsMouseIn());
    QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(200, 80));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(first->IsPressed());

    QTest::mousePress(first, Qt::LeftButton, {}, QPoint(5, 5));
    QTest::mouseMove(first, QPoint(200, 80));
    QTest::mouseMove(first, QPoint(6, 6)); // back on before releasing
    QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(6, 6));
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ExplorerButtonTest, DropDownMenuShowsOnPressAndNeverClicks)
{
    CountedMenu menu;
    first->setDropDownMenu(&menu.menu);
    QSignalSpy clicks(first, &TExplorerButton::clicked);
    CloseNextPopup();
    Click(first);
    EXPECT_EQ(menu.shown.count(), 1);
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_FALSE(first->IsPressed());
}

TEST_F(ExplorerButtonTest, DestroyedDropDownMenuIsCleared)
{
    auto* menu = new QMenu;
    first->setDropDownMenu(menu);
    delete menu;
    EXPECT_EQ(first->DropDownMenu(), nullptr);
    QSignalSpy clicks(first, &TExplorerButton::clicked);
    Click(first);
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ExplorerButtonTest, PopupMenuOnTheRightButtonLeavesTheButtonUp)
{
    CountedMenu menu;
    first->setPopupMenu(&menu.menu);
    QTest::mousePress(first, Qt::LeftButton, {}, QPoint(5, 5));
    CloseNextPopup();
    QContextMenuEvent context(QContextMenuEvent::Mouse, QPoint(5, 5), first->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(first, &context);
    EXPECT_EQ(menu.shown.count(), 1);
    EXPECT_FALSE(first->IsPressed());
}

TEST_F(ExplorerButtonTest, AcceleratorAndKeysPressTheButton)
{
    QSignalSpy clicks(first, &TExplorerButton::clicked);
    first->setCaption(QStringLiteral("&Initialize"));
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    QTest::keyClick(window.get(), Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_FALSE(first->IsPressed());

    first->setFocus();
    QTest::keyClick(first, Qt::Key_Space);
    QTest::keyClick(first, Qt::Key_Return);
    EXPECT_EQ(clicks.count(), 3);

    first->setEnabled(false);
    QTest::keyClick(window.get(), Qt::Key_I, Qt::AltModifier);
    EXPECT_EQ(clicks.count(), 3);
}

TEST_F(ExplorerButtonTest, DisablingClearsPressedAndMouseIn)
{
    QTest::mousePress(first, Qt::LeftButton, {}, QPoint(5, 5));
    ASSERT_TRUE(first->IsPressed() && first->IsMouseIn());
    first->setEnabled(false);
    EXPECT_FALSE(first->IsPressed());
    EXPECT_FALSE(first->IsMouseIn());
    QSignalSpy clicks(first, &TExplorerButton::clicked);
    QTest::mouseRelease(first, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_EQ(clicks.count(), 0);
}

TEST_F(ExplorerButtonTest, IconOnlyButtonShowsItsCaptionAsTheHint)
{
    first->setCaption(QStringLiteral("Save && &Send"));
    first->setOptions(TButtonOption::boIconOnly);
    EXPECT_EQ(first->toolTip(), QStringLiteral("Save & Send"));
    EXPECT_TRUE(first->ShowHint());
    first->setCaption(QStringLiteral("&Initialize"));
    EXPECT_EQ(first->toolTip(), QStringLiteral("Initialize"));
    first->setOptions(TButtonOption::boShowBevel); // the hint only repeated the caption
    EXPECT_TRUE(first->toolTip().isEmpty());
    EXPECT_FALSE(first->ShowHint());

    second->setToolTip(QStringLiteral("Own hint"));
    second->setCaption(QStringLiteral("&Go"));
    second->setOptions(TButtonOption::boIconOnly);
    EXPECT_EQ(second->toolTip(), QStringLiteral("Own hint"));
}

TEST_F(ExplorerButtonTest, EnteringAndLeavingAreReportedOnce)
{
    QSignalSpy entered(first, &TExplorerButton::entered);
    QSignalSpy left(first, &TExplorerButton::left);
    first->setSound(QStringLiteral("/nonexistent/chime.wav"));
    Enter(first);
    Enter(first);
    EXPECT_TRUE(first->IsMouseIn());
    Leave(first);
    EXPECT_EQ(entered.count(), 1);
    EXPECT_EQ(left.count(), 1);
    EXPECT_FALSE(first->IsMouseIn());
}

TEST_F(ExplorerButtonTest, PictureIconIsDrawnOnSilverAndABitmapIsCopied)
{
    QPixmap icon(16, 16);
    icon.fill(Qt::transparent);
    QPainter(&icon).fillRect(4, 4, 8, 8, Qt::red);
    first->setPicture(QIcon(icon));
    ASSERT_EQ(first->Bitmap().size(), QSize(16, 16));
    EXPECT_EQ(first->Bitmap().pixel(0, 0), qRgb(192, 192, 192));
    EXPECT_EQ(first->Bitmap().pixel(8, 8), qRgb(255, 0, 0));

    QImage bitmap(5, 6, QImage::Format_RGB32);
    bitmap.fill(Qt::blue);
    first->setPicture(bitmap);
    EXPECT_EQ(first->Bitmap(), bitmap);
    first->setPicture(std::monostate());
    EXPECT_EQ(first->Bitmap(), bitmap);
}

TEST_F(ExplorerButtonTest, ApplicationIconOfAMissingProgramLeavesTheGlyph)
{
    QImage bitmap(5, 6, QImage::Format_RGB32);
    bitmap.fill(Qt::blue);
    first->setBitmap(bitmap);
    first->setApp(QStringLiteral("/nonexistent/program"));
    first->setApplicationIcon(true);
    EXPECT_EQ(first->Bitmap(), bitmap);
}
