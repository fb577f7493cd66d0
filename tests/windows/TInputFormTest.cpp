#include "ModalDriver.h"
#include "windows/TInputForm.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class TInputFormTest : public ::testing::Test {
protected:
    QLineEdit* Data() { return dialog.findChild<QLineEdit*>(QStringLiteral("Data")); }
    QPushButton* button(const char* name) { return dialog.findChild<QPushButton*>(QString::fromLatin1(name)); }

    void Open(const QString& prompt)
    {
        dialog.BeginShowing(prompt);
        dialog.show();
    }

    TInputForm dialog;
};

TEST_F(TInputFormTest, OkConfirmsTheEnteredText)
{
    Open("Record number");
    EXPECT_EQ(dialog.findChild<QLabel*>(QStringLiteral("Display"))->text(), "Record number");
    QTest::keyClicks(Data(), "05");
    QTest::mouseClick(button("OKBTN"), Qt::LeftButton);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Outcome(), "05");
}

TEST_F(TInputFormTest, CancelEscapeAndTheCloseBoxDoNotConfirm)
{
    Open("x");
    QTest::keyClicks(Data(), "01");
    QTest::mouseClick(button("Button1"), Qt::LeftButton);
    EXPECT_EQ(dialog.Outcome(), std::nullopt);

    Open("x");
    QTest::keyClick(Data(), Qt::Key_Escape);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(dialog.Outcome(), std::nullopt);

    Open("x");
    dialog.close();
    EXPECT_EQ(dialog.Outcome(), std::nullopt);
}

TEST_F(TInputFormTest, OpensWithThePreviousEntrySelectedAndEnterConfirms)
{
    Open("first");
    QTest::keyClicks(Data(), "1F");
    QTest::keyClick(Data(), Qt::Key_Return);
    ASSERT_EQ(dialog.Outcome(), "1F");

    Open("second");
    EXPECT_EQ(Data()->selectedText(), "1F");
    QTest::keyClick(Data(), Qt::Key_Return);
    EXPECT_EQ(dialog.Outcome(), "1F");

    Open("third");
    QTest::keyClicks(Data(), "20");
    QTest::keyClick(Data(), Qt::Key_Return);
    EXPECT_EQ(dialog.Outcome(), "20");
}

TEST_F(TInputFormTest, AskShowsItModally)
{
    WhenModalOpens([](QWidget* modal) {
        EXPECT_EQ(modal->windowTitle(), "Input HEX Data");
        modal->findChild<QLineEdit*>(QStringLiteral("Data"))->setText("0A");
        modal->findChild<QPushButton*>(QStringLiteral("OKBTN"))->click();
    });
    EXPECT_EQ(dialog.Ask("Value"), "0A");
}

} // namespace
