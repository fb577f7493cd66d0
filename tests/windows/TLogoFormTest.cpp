#include "ModalDriver.h"
#include "windows/TLogoForm.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QTimer>
#include <gtest/gtest.h>

namespace {

class TLogoFormTest : public ::testing::Test {
protected:
    QTextEdit* Disp() { return form.findChild<QTextEdit*>(QStringLiteral("Disp")); }
    QTimer* Timer1() { return form.findChild<QTimer*>(QStringLiteral("Timer1")); }

    void Activate()
    {
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&form, &activate);
    }

    // Shows the window, activates it and takes `steps` reveal steps.
    void RevealSome(int steps)
    {
        form.show();
        Activate();
        for (int step = 0; step < steps; ++step)
            form.Timer1Timer();
    }

    TLogoForm form;
};

TEST_F(TLogoFormTest, ShowsNothingUntilActivated)
{
    EXPECT_EQ(Disp()->toPlainText(), "Disp");
    EXPECT_TRUE(Timer1()->isActive());
    form.show();
    for (int tick = 0; tick < 3; ++tick)
        form.Timer1Timer();
    EXPECT_EQ(Disp()->toPlainText(), "");
}

TEST_F(TLogoFormTest, RevealsTheTitleInRedAfterActivation)
{
    RevealSome(4);
    const QString text = Disp()->toPlainText();
    EXPECT_TRUE(text.startsWith("Kes")) << text.toStdString();
    EXPECT_TRUE(QStringLiteral("Kestrin T.R.X").startsWith(text.left(13))) << text.toStdString();
    const QTextCharFormat first = Disp()->document()->begin().begin().fragment().charFormat();
    EXPECT_EQ(first.foreground().color(), QColor(255, 0, 0));
}

TEST_F(TLogoFormTest, ProceedClosesAndStopsTheRevealMidway)
{
    RevealSome(3);
    QTest::mouseClick(form.findChild<QPushButton*>(QStringLiteral("Label1")), Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(Timer1()->isActive());
    const QString text = Disp()->toPlainText();
    QCoreApplication::processEvents();
    EXPECT_EQ(Disp()->toPlainText(), text);
    EXPECT_LT(form.Reveal().AboutPos(), 1055);
}

TEST_F(TLogoFormTest, TheProceedFaceAndAltPCloseItToo)
{
    form.show();
    QLabel* face = form.findChild<QLabel*>(QStringLiteral("Image3"));
    QTest::mouseClick(face, Qt::LeftButton, {}, QPoint(5, 5));
    EXPECT_FALSE(form.isVisible());

    TLogoForm other;
    other.show();
    other.activateWindow();
    QCoreApplication::processEvents();
    ASSERT_EQ(QApplication::activeWindow(), &other);
    QTest::keyClick(&other, Qt::Key_P, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !other.isVisible(); })); // a mnemonic clicks as an animated click
}

TEST_F(TLogoFormTest, EscapeDoesNotCloseIt)
{
    form.show();
    QTest::keyClick(&form, Qt::Key_Escape);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(TLogoFormTest, ProceedEndsTheModalShowing)
{
    WhenModalOpens([](QWidget* modal) { modal->findChild<QPushButton*>(QStringLiteral("Label1"))->click(); });
    form.exec();
    EXPECT_FALSE(form.isVisible());
    EXPECT_FALSE(Timer1()->isActive());
}

// Proceed is the default button: Return presses it, as Space does.
TEST_F(TLogoFormTest, ProceedHasTheFocusAndReturnOrSpacePressesIt)
{
    for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Space}) {
        TLogoForm splash;
        WhenModalOpens([key](QWidget* modal) {
            ASSERT_TRUE(QTest::qWaitForWindowActive(modal));
            auto* proceed = modal->findChild<QPushButton*>(QStringLiteral("Label1"));
            ASSERT_EQ(QApplication::focusWidget(), proceed);
            QTest::keyClick(proceed, key);
            EXPECT_FALSE(modal->isVisible()) << key;
        });
        splash.exec();
    }
}

} // namespace
