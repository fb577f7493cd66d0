// The operator at the Active Log: keys move the caret and select, the mouse places
// the caret and selects characters, words (double click) or lines (triple click),
// and the context menu copies.
#include "main/ActiveLogEdit.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMenu>
#include <QScrollBar>

namespace {

enum class Move {
    NextChar, PreviousChar, NextWord, PreviousWord, NextRow, PreviousRow, NextPage, PreviousPage,
    RowStart, RowEnd, LineStart, LineEnd, Start, End
};

struct KeyMove {
    QKeySequence::StandardKey move;
    QKeySequence::StandardKey select;
    Move where;
};

constexpr KeyMove KeyMoves[] = {
    {QKeySequence::MoveToNextChar, QKeySequence::SelectNextChar, Move::NextChar},
    {QKeySequence::MoveToPreviousChar, QKeySequence::SelectPreviousChar, Move::PreviousChar},
    {QKeySequence::MoveToNextWord, QKeySequence::SelectNextWord, Move::NextWord},
    {QKeySequence::MoveToPreviousWord, QKeySequence::SelectPreviousWord, Move::PreviousWord},
    {QKeySequence::MoveToNextLine, QKeySequence::SelectNextLine, Move::NextRow},
    {QKeySequence::MoveToPreviousLine, QKeySequence::SelectPreviousLine, Move::PreviousRow},
    {QKeySequence::MoveToNextPage, QKeySequence::SelectNextPage, Move::NextPage},
    {QKeySequence::MoveToPreviousPage, QKeySequence::SelectPreviousPage, Move::PreviousPage},
    {QKeySequence::MoveToStartOfLine, QKeySequence::SelectStartOfLine, Move::RowStart},
    {QKeySequence::MoveToEndOfLine, QKeySequence::SelectEndOfLine, Move::RowEnd},
    {QKeySequence::MoveToStartOfBlock, QKeySequence::SelectStartOfBlock, Move::LineStart},
    {QKeySequence::MoveToEndOfBlock, QKeySequence::SelectEndOfBlock, Move::LineEnd},
    {QKeySequence::MoveToStartOfDocument, QKeySequence::SelectStartOfDocument, Move::Start},
    {QKeySequence::MoveToEndOfDocument, QKeySequence::SelectEndOfDocument, Move::End},
};

constexpr qsizetype WordWindow = 256; // words are looked for this far around the caret
constexpr int AutoScrollMs = 50;

bool IsBlank(QChar c) { return c.isSpace(); }

bool IsPair(QStringView text) { return text.size() == 2 && text[0].isHighSurrogate() && text[1].isLowSurrogate(); }

} // namespace

void ActiveLogEdit::keyPressEvent(QKeyEvent* event)
{
    if (event->matches(QKeySequence::Copy))
        return Copy();
    if (event->matches(QKeySequence::SelectAll))
        return SelectAll();
    for (const KeyMove& key : KeyMoves) {
        const bool select = event->matches(key.select);
        if (!select && !event->matches(key.move))
            continue;
        const bool vertical = key.where == Move::NextRow || key.where == Move::PreviousRow ||
                              key.where == Move::NextPage || key.where == Move::PreviousPage;
        if (!vertical)
            m_goalX = -1;
        const qsizetype target = Target(int(key.where), select);
        SetCaret(select ? m_anchor : target, target);
        EnsureVisible(m_caret);
        if (select)
            ToSelectionClipboard();
        return;
    }
    QAbstractScrollArea::keyPressEvent(event);
}

// Where a caret move takes the caret; a move without Shift first ends a selection.
qsizetype ActiveLogEdit::Target(int where, bool select)
{
    const qsizetype start = std::min(m_anchor, m_caret), end = std::max(m_anchor, m_caret);
    const qsizetype line = m_content.LineOf(m_caret), lineStart = m_content.LineStart(line);
    switch (Move(where)) {
    case Move::NextChar:
        return !select && HasSelection() ? end : m_caret + (IsPair(m_content.Text(m_caret, m_caret + 2)) ? 2 : 1);
    case Move::PreviousChar:
        return !select && HasSelection() ? start : m_caret - (IsPair(m_content.Text(m_caret - 2, m_caret)) ? 2 : 1);
    case Move::NextWord: {
        const QString after = m_content.Text(m_caret, m_caret + WordWindow);
        qsizetype i = 0;
        while (i < after.size() && !IsBlank(after[i]))
            ++i;
        while (i < after.size() && IsBlank(after[i]))
            ++i;
        return m_caret + i;
    }
    case Move::PreviousWord: {
        const QString before = m_content.Text(m_caret - WordWindow, m_caret);
        qsizetype i = before.size();
        while (i > 0 && IsBlank(before[i - 1]))
            --i;
        while (i > 0 && !IsBlank(before[i - 1]))
            --i;
        return m_caret - before.size() + i;
    }
    case Move::NextRow:
        return RowMove(1);
    case Move::PreviousRow:
        return RowMove(-1);
    case Move::NextPage:
    case Move::PreviousPage: {
        const int rows = Move(where) == Move::NextPage ? VisibleRows() : -VisibleRows();
        verticalScrollBar()->setValue(verticalScrollBar()->value() + rows); // the page turns with the caret
        return RowMove(rows);
    }
    case Move::RowStart: {
        const RowPlace row = PlaceOfRow(RowOfPosition(m_caret));
        return lineStart + row.from;
    }
    case Move::RowEnd: {
        // A wrapped row ends before the blank it was wrapped at.
        const RowPlace row = PlaceOfRow(RowOfPosition(m_caret));
        const bool wrapped = row.to < m_content.LineLength(line);
        const bool blank = wrapped && IsBlank(m_content.Text(lineStart + row.to - 1, lineStart + row.to).at(0));
        return lineStart + row.to - (blank ? 1 : 0);
    }
    case Move::LineStart:
        return lineStart;
    case Move::LineEnd:
        return lineStart + m_content.LineLength(line);
    case Move::Start:
        return 0;
    case Move::End:
        return m_content.Length();
    }
    return m_caret;
}

// The caret `rows` rows further down (up when negative), at the column it keeps.
qsizetype ActiveLogEdit::RowMove(qsizetype rows)
{
    const qsizetype row = RowOfPosition(m_caret);
    const qsizetype target = std::clamp<qsizetype>(row + rows, 0, m_rows.RowCount() - 1);
    if (m_goalX < 0)
        m_goalX = CaretRect(m_caret).x();
    return target == row ? m_caret : PositionInRow(target, m_goalX);
}

// The word (a run of characters between blanks) or the line around `position`,
// as the mouse selects them.
std::pair<qsizetype, qsizetype> ActiveLogEdit::UnitAround(qsizetype position) const
{
    if (m_unit == Unit::Line) {
        const qsizetype line = m_content.LineOf(position), start = m_content.LineStart(line);
        return {start, start + m_content.LineLength(line)};
    }
    const qsizetype from = std::max<qsizetype>(0, position - WordWindow);
    const QString around = m_content.Text(from, position + WordWindow);
    qsizetype at = position - from;
    if ((at == around.size() || IsBlank(around[at])) && at > 0 && !IsBlank(around[at - 1]))
        --at; // just behind a word: that word
    if (at >= around.size() || IsBlank(around[at]))
        return {position, position};
    qsizetype first = at, last = at;
    while (first > 0 && !IsBlank(around[first - 1]))
        --first;
    while (last < around.size() && !IsBlank(around[last]))
        ++last;
    return {from + first, from + last};
}

void ActiveLogEdit::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mousePressEvent(event);
    const qsizetype at = PositionAt(event->position().toPoint());
    const bool tripleClick = m_sinceDoubleClick.isValid() && m_sinceDoubleClick.elapsed() < QApplication::doubleClickInterval();
    m_sinceDoubleClick.invalidate();
    m_goalX = -1;
    m_selecting = true;
    m_unit = tripleClick ? Unit::Line : Unit::Character;
    if (tripleClick) {
        m_unitAnchor = UnitAround(at);
        SetCaret(m_unitAnchor.first, m_unitAnchor.second);
    } else {
        SetCaret(event->modifiers() & Qt::ShiftModifier ? m_anchor : at, at);
    }
}

void ActiveLogEdit::mouseDoubleClickEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton)
        return QAbstractScrollArea::mouseDoubleClickEvent(event);
    m_unit = Unit::Word;
    m_unitAnchor = UnitAround(PositionAt(event->position().toPoint()));
    m_selecting = true;
    m_sinceDoubleClick.start();
    SetCaret(m_unitAnchor.first, m_unitAnchor.second);
}

void ActiveLogEdit::mouseMoveEvent(QMouseEvent* event)
{
    if (!m_selecting || !(event->buttons() & Qt::LeftButton))
        return QAbstractScrollArea::mouseMoveEvent(event);
    m_mouse = event->position().toPoint();
    ExtendMouseSelection(m_mouse);
    const bool outside = m_mouse.y() < 0 || m_mouse.y() >= viewport()->height();
    if (outside && !m_autoScroll.isActive())
        m_autoScroll.start(AutoScrollMs, this);
    else if (!outside)
        m_autoScroll.stop();
}

void ActiveLogEdit::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !m_selecting)
        return QAbstractScrollArea::mouseReleaseEvent(event);
    m_selecting = false;
    m_autoScroll.stop();
    ToSelectionClipboard();
}

void ActiveLogEdit::ExtendMouseSelection(QPoint point)
{
    const qsizetype at = PositionAt(point);
    if (m_unit == Unit::Character)
        return SetCaret(m_anchor, at);
    const auto [first, last] = UnitAround(at);
    if (at < m_unitAnchor.first)
        SetCaret(m_unitAnchor.second, first);
    else
        SetCaret(m_unitAnchor.first, std::max(last, m_unitAnchor.second));
}

void ActiveLogEdit::contextMenuEvent(QContextMenuEvent* event)
{
    QMenu menu(this);
    const auto shortcut = [](QKeySequence::StandardKey key) {
        return u'\t' + QKeySequence(key).toString(QKeySequence::NativeText);
    };
    menu.addAction(tr("&Copy") + shortcut(QKeySequence::Copy), this, &ActiveLogEdit::Copy)->setEnabled(HasSelection());
    menu.addSeparator();
    menu.addAction(tr("Select All") + shortcut(QKeySequence::SelectAll), this, &ActiveLogEdit::SelectAll)
        ->setEnabled(Length() > 0);
    menu.exec(event->globalPos());
}

void ActiveLogEdit::focusInEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusInEvent(event);
    RestartBlink();
}

void ActiveLogEdit::focusOutEvent(QFocusEvent* event)
{
    QAbstractScrollArea::focusOutEvent(event);
    RestartBlink();
}

void ActiveLogEdit::RestartBlink()
{
    const int flash = QApplication::cursorFlashTime();
    m_caretShown = hasFocus();
    if (m_caretShown && flash > 0)
        m_blink.start(flash / 2, this);
    else
        m_blink.stop();
    viewport()->update();
}

void ActiveLogEdit::timerEvent(QTimerEvent* event)
{
    if (event->timerId() == m_blink.timerId()) {
        m_caretShown = !m_caretShown;
        viewport()->update(CaretRect(m_caret).adjusted(-2, 0, 2, 0));
    } else if (event->timerId() == m_autoScroll.timerId()) {
        QScrollBar* bar = verticalScrollBar();
        bar->setValue(bar->value() + (m_mouse.y() < 0 ? -1 : 1));
        ExtendMouseSelection(m_mouse);
    } else {
        QAbstractScrollArea::timerEvent(event);
    }
}
