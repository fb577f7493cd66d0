#include "common/RtfTextExtractor.h"

#include "base/Colours.h"
#include "main/ActiveLogBlocks.h"
#include "main/ActiveLogEdit.h"

#include <QAccessible>
#include <QCoreApplication>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
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

void ExpectShortBlocks(ActiveLogEdit& log)
{
    for (QTextBlock block = log.document()->begin(); block.isValid(); block = block.next())
        EXPECT_LE(block.text().size(), ActiveLogEdit::MaxBlockLength) << "block " << block.blockNumber();
}

void PlaceCaretAfter(ActiveLogEdit& log, const QString& marker)
{
    QTextCursor found = log.document()->find(marker);
    ASSERT_FALSE(found.isNull()) << marker.toStdString();
    found.clearSelection();
    log.setTextCursor(found);
}

void Select(ActiveLogEdit& log, int anchor, int position)
{
    QTextCursor cursor(log.document());
    cursor.setPosition(anchor);
    cursor.setPosition(position, QTextCursor::KeepAnchor);
    log.setTextCursor(cursor);
}

void Click(ActiveLogEdit& log, int position)
{
    QTextCursor at(log.document());
    at.setPosition(position);
    const QPointF point = log.cursorRect(at).center();
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
    EXPECT_GE(log.document()->blockCount(), 15000 / ActiveLogEdit::MaxBlockLength + 6);
    ExpectShortBlocks(log);
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
    ASSERT_TRUE(ActiveLogBlocks::IsContinuation(log.textCursor().block()));

    const QString inserted = Bytes(1000, 3);
    InsertBytes(log, inserted);
    log.InsertAtCaret("\r\nnext");
    EXPECT_EQ(log.Text(), head + "MARK" + inserted + "\r\nnext" + tail);
    ExpectShortBlocks(log);
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
        Select(log, selection.anchor, selection.position);
        log.InsertAtCaret("ab");
        log.Flush();
        log.InsertAtCaret("cd");
        EXPECT_EQ(log.Text(), selection.text);
        EXPECT_EQ(log.textCursor().selectedText(), "234");
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

    log.setTextCursor(QTextCursor(log.document()));
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
    EXPECT_EQ(log.document()->blockCount(), 1);
    EXPECT_FALSE(log.document()->isUndoRedoEnabled());
}

TEST(ActiveLogEdit, RunsCarryFormatsAndJoinContinuationBlocks)
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
    EXPECT_TRUE(log.textInteractionFlags() & Qt::TextSelectableByKeyboard);
}
