#include "base/Colours.h"
#include "windows/TDisplayForm.h"

#include <QGuiApplication>
#include <QScreen>
#include <QStatusBar>
#include <QTest>
#include <QTextBlock>
#include <QTextEdit>
#include <QToolButton>
#include <gtest/gtest.h>

namespace {

class TDisplayFormTest : public ::testing::Test {
protected:
    QTextEdit* display() { return form.findChild<QTextEdit*>(QStringLiteral("display")); }

    QTextCharFormat FormatAt(int position)
    {
        QTextCursor cursor(display()->document());
        cursor.setPosition(position + 1);
        return cursor.charFormat();
    }

    static QRect ScreenRect() { return QGuiApplication::primaryScreen()->geometry(); }

    TDisplayForm form;
};

TEST_F(TDisplayFormTest, CoversTheScreenOnEveryShowFromHiddenOnly)
{
    EXPECT_FALSE(form.isVisible());
    form.ShowDisplay();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(form.geometry(), ScreenRect());

    form.setGeometry(20, 30, 300, 200);
    form.ShowDisplay();
    EXPECT_EQ(form.geometry(), QRect(20, 30, 300, 200));

    form.HideDisplay();
    EXPECT_FALSE(form.isVisible());
    form.ShowDisplay();
    EXPECT_EQ(form.geometry(), ScreenRect());
}

TEST_F(TDisplayFormTest, InsertedTextTakesTheInsertionAttributesOfItsMoment)
{
    form.InsertText("a");
    form.SetTextColour(Colours::Red);
    form.SetBold(true);
    form.InsertText("b");
    form.SetItalic(true);
    form.SetBold(false);
    form.InsertText("c");

    EXPECT_EQ(display()->toPlainText(), "abc");
    EXPECT_FALSE(FormatAt(0).hasProperty(QTextFormat::ForegroundBrush));
    EXPECT_EQ(FormatAt(1).foreground().color(), QColor(255, 0, 0));
    EXPECT_EQ(FormatAt(1).fontWeight(), QFont::Bold);
    EXPECT_FALSE(FormatAt(1).fontItalic());
    EXPECT_EQ(FormatAt(2).foreground().color(), QColor(255, 0, 0));
    EXPECT_NE(FormatAt(2).fontWeight(), QFont::Bold);
    EXPECT_TRUE(FormatAt(2).fontItalic());
}

TEST_F(TDisplayFormTest, LineEndsStartOneNewLineEach)
{
    form.InsertText("one\r\ntwo\rthree\nfour");
    EXPECT_EQ(display()->document()->blockCount(), 4);
    EXPECT_EQ(display()->toPlainText(), "one\ntwo\nthree\nfour");
}

TEST_F(TDisplayFormTest, BackgroundCoversTheWholeAreaAndOutlivesAClear)
{
    form.resize(400, 300);
    form.InsertText("          \r\n          ");
    form.SetBackgroundColour(Colours::Yellow);
    const QImage image = display()->viewport()->grab().toImage();
    EXPECT_EQ(image.pixelColor(4, 4), QColor(Qt::yellow));                                       // under the old blanks
    EXPECT_EQ(image.pixelColor(image.width() - 3, image.height() - 3), QColor(Qt::yellow)); // below the text

    form.ClearText();
    EXPECT_TRUE(display()->toPlainText().isEmpty());
    EXPECT_EQ(display()->viewport()->grab().toImage().pixelColor(4, 4), QColor(Qt::yellow));
}

TEST_F(TDisplayFormTest, ClearKeepsTheInsertionAttributes)
{
    form.SetTextColour(Colours::Blue);
    form.InsertText("x");
    form.ClearText();
    form.InsertText("y");
    EXPECT_EQ(FormatAt(0).foreground().color(), QColor(0, 0, 255));
}

TEST_F(TDisplayFormTest, InsertsAtTheCaretTheOperatorMovedAndReplacesTheSelection)
{
    form.ShowDisplay();
    form.InsertText("Hello World");
    QTest::keyClick(display(), Qt::Key_Home);
    form.InsertText(">");
    EXPECT_EQ(display()->toPlainText(), ">Hello World");

    QTest::keyClick(display(), Qt::Key_Right, Qt::ShiftModifier | Qt::ControlModifier);
    form.InsertText("Goodbye ");
    EXPECT_EQ(display()->toPlainText(), ">Goodbye World");
    form.InsertText("cruel ");
    EXPECT_EQ(display()->toPlainText(), ">Goodbye cruel World");
}

TEST_F(TDisplayFormTest, TextWrittenWhileHiddenIsThereWhenShown)
{
    form.InsertText("while hidden");
    form.ShowDisplay();
    EXPECT_EQ(display()->toPlainText(), "while hidden");
    EXPECT_TRUE(form.findChild<QStatusBar*>(QStringLiteral("StatusBar1"))->currentMessage().isEmpty());
}

TEST_F(TDisplayFormTest, TheXButtonHidesAndKeepsTheText)
{
    form.ShowDisplay();
    form.InsertText("kept");
    auto* close = form.findChild<QToolButton*>(QStringLiteral("SpeedButton1"));
    QTest::mouseClick(close, Qt::LeftButton);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(display()->toPlainText(), "kept");
}

TEST_F(TDisplayFormTest, TabTypesATabAndCtrlTabLeavesTheText)
{
    form.ShowDisplay();
    form.activateWindow();
    QCoreApplication::processEvents();
    display()->setFocus();
    QTest::keyClick(display(), Qt::Key_Tab);
    EXPECT_EQ(display()->toPlainText(), "\t");
    QTest::keyClick(display(), Qt::Key_Tab, Qt::ControlModifier);
    EXPECT_EQ(QApplication::focusWidget(), form.findChild<QToolButton*>(QStringLiteral("SpeedButton1")));
    EXPECT_EQ(display()->toPlainText(), "\t");
}

} // namespace
