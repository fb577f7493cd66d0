#include "common/RtfTextExtractor.h"

#include "base/Colours.h"
#include "main/ActiveLogEdit.h"

#include <QAccessible>
#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

namespace {

// What the link shows for received bytes: two hexadecimal digits and a blank each.
QString Bytes(int count, int first = 0)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("%1 ").arg((first + i) & 0xFF, 2, 16, QChar(u'0')).toUpper();
    return text;
}

// Feeds the log byte by byte, as the link does, applying a batch now and then.
void InsertBytes(ActiveLogEdit& log, const QString& bytes)
{
    for (qsizetype at = 0; at < bytes.size(); at += 3) {
        log.InsertAtCaret(bytes.mid(at, 3));
        if (at % 2100 == 0)
            log.Flush();
    }
}

// Positions count a line end as one character.
void PlaceCaretAfter(ActiveLogEdit& log, const QString& marker)
{
    const qsizetype found = log.Text().replace("\r\n", "\n").indexOf(marker);
    ASSERT_GE(found, 0) << marker.toStdString();
    log.Select(found + marker.size(), found + marker.size());
}

// The log on screen, the size it has in the main window's column, holding `text`.
void ShowHolding(ActiveLogEdit& log, const QString& text)
{
    log.resize(320, 200);
    log.show();
    log.InsertAtCaret(text);
    log.Flush();
}

void Click(ActiveLogEdit& log, int position)
{
    const QPointF point = log.CaretRect(position).center();
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, point, log.viewport()->mapToGlobal(point), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton, Qt::NoModifier);
        QCoreApplication::sendEvent(log.viewport(), &event);
    }
}

} // namespace

TEST(ActiveLogEdit, KeepsTheExactContentOfMixedInserts)
{
    ActiveLogEdit log;
    const QString longLine = Bytes(5000);
    InsertBytes(log, longLine);
    const QStringList rest{"\r\n", "PRINT output", "\r\n", "Baud Rate Set To: 19200\r\n", "a\tb\r\nc", Bytes(10), "\r\n\r\n"};
    for (const QString& text : rest)
        log.InsertAtCaret(text);

    EXPECT_EQ(log.Text(), longLine + rest.join(QString()));
}

TEST(ActiveLogEdit, ALoneCarriageReturnOrLineFeedIsALineEnd)
{
    ActiveLogEdit log;
    log.InsertAtCaret("a\rb\nc");
    log.InsertAtCaret("\r");
    log.InsertAtCaret("\n");
    EXPECT_EQ(log.Text(), "a\r\nb\r\nc\r\n\r\n");
}

TEST(ActiveLogEdit, InsertsAtTheCaretTheOperatorMoved)
{
    ActiveLogEdit log;
    log.InsertAtCaret("AAAA\r\nBBBB");
    log.Flush();
    PlaceCaretAfter(log, "AA");
    for (const char* text : {"xy", "z\r\n", "w"})
        log.InsertAtCaret(text);
    EXPECT_EQ(log.Text(), "AAxyz\r\nwAA\r\nBBBB");
}

TEST(ActiveLogEdit, InsertsInTheMiddleOfALongLineKeepItWhole)
{
    ActiveLogEdit log;
    const QString head = Bytes(3000), tail = Bytes(3000, 7);
    InsertBytes(log, head + "MARK" + tail);
    log.Flush();
    PlaceCaretAfter(log, "MARK");
    ASSERT_EQ(log.CaretPosition(), head.size() + 4);

    const QString inserted = Bytes(1000, 3);
    InsertBytes(log, inserted);
    log.InsertAtCaret("\r\nnext");
    EXPECT_EQ(log.Text(), head + "MARK" + inserted + "\r\nnext" + tail);
}

TEST(ActiveLogEdit, AnOperatorSelectionKeepsItsText)
{
    struct Case {
        int anchor, position;
        QString text;
    };
    // The caret is the end of the selection that moved: there the text goes in.
    for (const Case& selection : {Case{2, 5, "01234abcd56789"}, Case{5, 2, "01abcd23456789"}}) {
        ActiveLogEdit log;
        log.InsertAtCaret("0123456789");
        log.Flush();
        log.Select(selection.anchor, selection.position);
        log.InsertAtCaret("ab");
        log.Flush();
        log.InsertAtCaret("cd");
        EXPECT_EQ(log.Text(), selection.text);
        EXPECT_EQ(log.SelectedText(), "234");
    }
}

TEST(ActiveLogEdit, TextCollectedBeforeAClickGoesWhereTheCaretWas)
{
    ActiveLogEdit log;
    log.resize(320, 200);
    log.show();
    log.InsertAtCaret("AAAA\r\nBBBB");
    log.Flush();
    log.InsertAtCaret("X");
    Click(log, 0);
    log.InsertAtCaret("Y");
    EXPECT_EQ(log.Text(), "YAAAA\r\nBBBBX");
}

TEST(ActiveLogEdit, FollowsTheEndOnlyWhileTheCaretIsThere)
{
    ActiveLogEdit log;
    log.resize(320, 200);
    log.show();
    for (int line = 0; line < 200; ++line)
        log.InsertAtCaret(Bytes(4) + "\r\n");
    log.Flush();
    QScrollBar* bar = log.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    EXPECT_EQ(bar->value(), bar->maximum());

    log.Select(0, 0);
    bar->setValue(0);
    log.InsertAtCaret("90 00 \r\n");
    log.Flush();
    EXPECT_EQ(bar->value(), 0);
}

TEST(ActiveLogEdit, ClearEmptiesTheLogAndPendingText)
{
    ActiveLogEdit log;
    log.InsertAtCaret(Bytes(3000) + "\r\nmore");
    log.Flush();
    PlaceCaretAfter(log, "more");
    log.InsertAtCaret("pending");
    log.Clear();
    EXPECT_EQ(log.Text(), "");
    log.InsertAtCaret("3F ");
    EXPECT_EQ(log.Text(), "3F ");
    EXPECT_EQ(log.Length(), 3);
}

TEST(ActiveLogEdit, RunsCarryFormatsAndKeepLongLinesWhole)
{
    ActiveLogEdit log;
    const QString longLine = Bytes(3000);
    InsertBytes(log, longLine);
    QTextCharFormat red;
    red.setForeground(QColor(255, 0, 0));
    red.setFontWeight(QFont::Bold);
    log.setCurrentCharFormat(red);
    log.InsertAtCaret("ERR");
    QTextCharFormat blue;
    blue.setForeground(QColor(0, 0, 255));
    blue.setFontItalic(true);
    log.setCurrentCharFormat(blue);
    log.InsertAtCaret("it");
    log.setCurrentCharFormat(QTextCharFormat());
    log.InsertAtCaret("\r\nplain");

    const QList<TextRun> expected{MakeRun(longLine), MakeRun("ERR", Colours::Red, true), MakeRun("it", Colours::Blue, false, true),
                                  TextRun::LineEnd(), MakeRun("plain")};
    EXPECT_EQ(log.Runs(), expected);
    EXPECT_EQ(ExtractRuns(WriteRtf(log.Runs())), expected);
}

TEST(ActiveLogEdit, IsAReadOnlyTextEditNamedActiveLog)
{
    ActiveLogEdit log;
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&log);
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::EditableText);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Active Log");
    EXPECT_TRUE(accessible->state().readOnly);
    EXPECT_TRUE(log.focusPolicy() & Qt::TabFocus);

    log.InsertAtCaret("3F 65\r\nok");
    log.Flush();
    QAccessibleTextInterface* text = accessible->textInterface();
    ASSERT_NE(text, nullptr);
    EXPECT_EQ(text->characterCount(), 8);
    EXPECT_EQ(text->text(0, 8), "3F 65\nok");
    EXPECT_EQ(accessible->text(QAccessible::Value), "3F 65\nok");
    text->setSelection(0, 3, 5);
    EXPECT_EQ(log.SelectedText(), "65");
    EXPECT_EQ(text->cursorPosition(), 5);
}

// As in any read-only text field; a selection copies with its line ends as "\n".
TEST(ActiveLogEdit, KeysMoveTheCaretAndSelect)
{
    ActiveLogEdit log;
    ShowHolding(log, "AB CD EF\r\nGH");
    struct Case {
        QList<QKeyCombination> keys;
        qsizetype anchor, caret;
    };
    const Case cases[] = {
        {{Qt::CTRL | Qt::Key_Home}, 0, 0},
        {{Qt::SHIFT | Qt::Key_Right, Qt::SHIFT | Qt::Key_Right}, 0, 2},
        {{Qt::Key_Right}, 2, 2},
        {{Qt::CTRL | Qt::Key_Right}, 3, 3},
        {{Qt::Key_End}, 8, 8},
        {{Qt::Key_Home, Qt::Key_Right, Qt::Key_Down}, 10, 10},
        {{Qt::CTRL | Qt::Key_End, Qt::SHIFT | Qt::CTRL | Qt::Key_Left}, 11, 9},
        {{Qt::CTRL | Qt::Key_A}, 0, 11},
    };
    for (const Case& test : cases) {
        for (const QKeyCombination key : test.keys)
            QTest::keyClick(&log, key.key(), key.keyboardModifiers());
        EXPECT_EQ(log.AnchorPosition(), test.anchor) << test.keys.size() << " keys to " << test.caret;
        EXPECT_EQ(log.CaretPosition(), test.caret);
    }
    QTest::keyClick(&log, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QGuiApplication::clipboard()->text(), "AB CD EF\nGH");
}

TEST(ActiveLogEdit, TheMouseSelectsCharactersWordsAndLines)
{
    ActiveLogEdit log;
    ShowHolding(log, "3F 65 A0\r\nnext line");
    QTest::mousePress(log.viewport(), Qt::LeftButton, {}, log.CaretRect(1).center());
    QTest::mouseMove(log.viewport(), log.CaretRect(7).center());
    QTest::mouseRelease(log.viewport(), Qt::LeftButton, {}, log.CaretRect(7).center());
    EXPECT_EQ(log.SelectedText(), "F 65 A");

    QTest::mouseDClick(log.viewport(), Qt::LeftButton, {}, log.CaretRect(4).center());
    EXPECT_EQ(log.SelectedText(), "65");
    QTest::mousePress(log.viewport(), Qt::LeftButton, {}, log.CaretRect(4).center());
    EXPECT_EQ(log.SelectedText(), "3F 65 A0");
    // The caret the mouse left is where text goes in.
    QTest::mouseRelease(log.viewport(), Qt::LeftButton, {}, log.CaretRect(4).center());
    QTest::mouseClick(log.viewport(), Qt::LeftButton, {}, log.CaretRect(12).center());
    log.InsertAtCaret("*");
    EXPECT_EQ(log.Text(), "3F 65 A0\r\nnex*t line");
}

// On a long line wrapped into many rows, the point where the caret is drawn leads
// back to its position; a narrower log keeps the text at its top in view.
TEST(ActiveLogEdit, PointsAndPositionsMeetOnWrappedRows)
{
    ActiveLogEdit log;
    ShowHolding(log, Bytes(3000) + "\r\nend");
    QScrollBar* bar = log.verticalScrollBar();
    ASSERT_GT(bar->maximum(), 100);
    for (const int position : {0, 1, 299, 4500, 8996, 9001, 9004}) {
        log.EnsureVisible(position);
        const QRect caret = log.CaretRect(position);
        ASSERT_TRUE(log.viewport()->rect().contains(caret.center())) << position;
        EXPECT_EQ(log.PositionAt(caret.center()), position);
    }
    bar->setValue(bar->maximum() / 2);
    const qsizetype top = log.PositionAt(QPoint(8, 8));
    log.resize(200, 200);
    EXPECT_LE(log.CaretRect(top).top(), 8);
    EXPECT_GE(log.CaretRect(top).bottom(), 0);
    EXPECT_GT(bar->maximum(), 200);
}
