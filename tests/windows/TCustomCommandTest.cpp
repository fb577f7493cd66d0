#include "ModalDriver.h"
#include "windows/TCustomCommand.h"

#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class TCustomCommandTest : public ::testing::Test {
protected:
    QLineEdit* command() { return dialog.findChild<QLineEdit*>(QStringLiteral("command")); }
    QPushButton* button(const char* name) { return dialog.findChild<QPushButton*>(QString::fromLatin1(name)); }

    // One showing, as Run() makes it but without the modal loop.
    void Open()
    {
        dialog.BeginShowing();
        dialog.show();
    }

    TCustomCommand dialog;
};

TEST_F(TCustomCommandTest, EnterInTheEditSendsTheLineAndCloses)
{
    Open();
    QTest::keyClicks(command(), "A0 A4 00 00 02");
    QTest::keyClick(command(), Qt::Key_Return);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Outcome(), "A0 A4 00 00 02");

    Open();
    QTest::keyClick(command(), Qt::Key_Enter);
    EXPECT_EQ(dialog.Outcome(), "A0 A4 00 00 02");
}

TEST_F(TCustomCommandTest, CancelSendsNothingAndTheLineStaysForTheNextShowing)
{
    Open();
    QTest::keyClicks(command(), "  00 B0 ");
    QTest::mouseClick(button("Button2"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Outcome(), std::nullopt);

    Open();
    EXPECT_EQ(command()->text(), "  00 B0 ");
    QTest::mouseClick(button("SendBtn"), Qt::LeftButton);
    EXPECT_EQ(dialog.Outcome(), "  00 B0 "); // unchanged: neither trimmed nor checked
}

TEST_F(TCustomCommandTest, TheCloseBoxSendsNothingEvenAfterAnEarlierSend)
{
    Open();
    QTest::keyClicks(command(), "00");
    QTest::mouseClick(button("SendBtn"), Qt::LeftButton);
    ASSERT_EQ(dialog.Outcome(), "00");

    Open();
    dialog.close();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Outcome(), std::nullopt);
}

TEST_F(TCustomCommandTest, EscapeLeavesItOpen)
{
    Open();
    QTest::keyClick(command(), Qt::Key_Escape);
    QTest::keyClick(&dialog, Qt::Key_Escape);
    EXPECT_TRUE(dialog.isVisible());
}

TEST_F(TCustomCommandTest, KeyboardOrderAndNames)
{
    EXPECT_EQ(command()->nextInFocusChain(), button("SendBtn"));
    EXPECT_EQ(button("SendBtn")->nextInFocusChain(), button("Button2"));
    EXPECT_FALSE(button("SendBtn")->autoDefault());
    EXPECT_FALSE(button("Button2")->autoDefault());
    EXPECT_EQ(dialog.focusWidget(), command()); // the edit has the focus at the first showing
}

TEST_F(TCustomCommandTest, RunReturnsTheLineWhenSentFromTheModalShowing)
{
    WhenModalOpens([](QWidget* modal) {
        auto* edit = modal->findChild<QLineEdit*>(QStringLiteral("command"));
        edit->setText("A0 A4");
        QTest::keyClick(edit, Qt::Key_Escape);
        EXPECT_TRUE(modal->isVisible());
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.Run(), "A0 A4");

    WhenModalOpens([](QWidget* modal) { modal->close(); });
    EXPECT_EQ(dialog.Run(), std::nullopt);
}

// The dialog is reused: a click on Cancel leaves that button the focus, which the
// next showing gives back to the line, its text selected for typing over.
TEST_F(TCustomCommandTest, EveryShowingStartsInTheLineWithItsTextSelected)
{
    WhenModalOpens([](QWidget* modal) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(modal));
        modal->findChild<QLineEdit*>(QStringLiteral("command"))->setText("00 B0");
        QTest::mouseClick(modal->findChild<QPushButton*>(QStringLiteral("Button2")), Qt::LeftButton);
    });
    ASSERT_EQ(dialog.Run(), std::nullopt);
    WhenModalOpens([](QWidget* modal) {
        ASSERT_TRUE(QTest::qWaitForWindowActive(modal));
        auto* edit = modal->findChild<QLineEdit*>(QStringLiteral("command"));
        ASSERT_EQ(QApplication::focusWidget(), edit);
        EXPECT_EQ(edit->selectedText(), "00 B0");
        QTest::keyClicks(edit, "00A4 ");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    EXPECT_EQ(dialog.Run(), "00A4 ");
}

} // namespace
