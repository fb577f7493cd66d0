#include "ExplorerButtonFixture.h"

#include "widgets/Label3D.h"
#include "widgets/Pictures.h"
#include "widgets/WidgetAccessibility.h"

#include <QAccessible>
#include <QAccessibleActionInterface>

TEST_F(ExplorerButtonTest, ButtonTellsItsRoleNameAndPressAction)
{
    InstallWidgetAccessibility();
    first->setCaption(QStringLiteral("&Initialize"));
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(first);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->role(), QAccessible::Button);
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("Initialize"));
    EXPECT_TRUE(button->state().focusable);

    QAccessibleActionInterface* actions = button->actionInterface();
    ASSERT_NE(actions, nullptr);
    EXPECT_TRUE(actions->actionNames().contains(QAccessibleActionInterface::pressAction()));
    QSignalSpy clicks(first, &TExplorerButton::clicked);
    actions->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(clicks.count(), 1);
}

TEST_F(ExplorerButtonTest, ButtonWithoutCaptionGoesByItsHintOrOverlay)
{
    InstallWidgetAccessibility();
    second->setOvActive(QStringLiteral("TRANSMIT"));
    QAccessibleInterface* button = QAccessible::queryAccessibleInterface(second);
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("TRANSMIT"));
    second->setToolTip(QStringLiteral("Send Data"));
    EXPECT_EQ(button->text(QAccessible::Name), QStringLiteral("Send Data"));
}

TEST(WidgetAccessibility, OffsetLabelIsStaticTextWithItsCaption)
{
    InstallWidgetAccessibility();
    TLabel3D label(QStringLiteral("Active Log"));
    QAccessibleInterface* text = QAccessible::queryAccessibleInterface(&label);
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->role(), QAccessible::StaticText);
    EXPECT_EQ(text->text(QAccessible::Name), QStringLiteral("Active Log"));
}

TEST(Pictures, EveryPictureRendersAndGlyphsHaveAUniformOpaqueGround)
{
    const std::pair<const char*, QSize> pictures[] = {
        {"splash-artwork", {415, 334}}, {"logo", {55, 61}},       {"proceed", {107, 53}},
        {"initialize", {40, 40}},       {"transmit", {40, 40}},   {"kestrin", {64, 64}},
    };
    for (const auto& [name, size] : pictures) {
        const QImage image = RenderSvg(QStringLiteral(":/pictures/%1.svg").arg(QLatin1String(name)), size);
        EXPECT_EQ(image.size(), size) << name;
    }
    for (const char* glyph : {"initialize", "transmit"}) {
        const QImage image = RenderSvg(QStringLiteral(":/pictures/%1.svg").arg(QLatin1String(glyph)), {40, 40});
        EXPECT_EQ(image.pixel(0, 0), qRgb(255, 255, 255)) << glyph;
        EXPECT_EQ(image.pixel(39, 39), qRgb(255, 255, 255)) << glyph;
    }
    EXPECT_TRUE(RenderSvg(QStringLiteral(":/pictures/none.svg"), {10, 10}).isNull());
    EXPECT_FALSE(KestrinIcon().isNull());
}
