#pragma once

#include "base/RtfWriter.h"
#include "main/ActiveLogContent.h"
#include "main/ActiveLogFonts.h"
#include "main/ActiveLogRows.h"

#include <QAbstractScrollArea>
#include <QBasicTimer>
#include <QElapsedTimer>
#include <QTextCharFormat>
#include <QTimer>
#include <chrono>

class QTextLayout;

// The Active Log: everything received, the line ends after each command and the
// script output, in the order they came. The operator reads, scrolls, selects and
// copies, and may place the caret; new text goes in at the caret, so at the end of
// the log unless the operator has moved it.
//
// Inserts are collected and applied in batches. The text is kept compactly (a
// received byte in one byte) and only the rows in view are laid out and drawn, so a
// received byte costs the same time and little memory however long the log grows.
class ActiveLogEdit : public QAbstractScrollArea {
    Q_OBJECT

public:
    static constexpr qsizetype MaxPendingLength = 32 * 1024;
    static constexpr std::chrono::milliseconds BatchInterval{25};

    explicit ActiveLogEdit(QWidget* parent = nullptr);

    // Inserts `text` at the caret with the current insertion attributes
    // (currentCharFormat()). "\r\n", a lone "\r" or a lone "\n" is a line end.
    void InsertAtCaret(const QString& text);

    // The exact content, every line end as "\r\n".
    QString Text();

    // The content as formatted runs and line ends, for the rich-text writer.
    QList<TextRun> Runs();

    // Removes all text, pending text included; new text goes in at the start.
    void Clear();

    // Applies the text collected so far now.
    void Flush();

    // The insertion attributes: the colour, weight and slant of the text inserted next.
    QTextCharFormat currentCharFormat() const { return m_charFormat; }
    void setCurrentCharFormat(const QTextCharFormat& format);

    // Positions count the characters of the text applied so far, a line end as one.
    qsizetype Length() const { return m_content.Length(); }
    QString TextBetween(qsizetype from, qsizetype to) const { return m_content.Text(from, to); }
    qsizetype CaretPosition() const { return m_caret; }
    qsizetype AnchorPosition() const { return m_anchor; }
    bool HasSelection() const { return m_anchor != m_caret; }
    QString SelectedText() const;

    // Selects from `anchor` to the caret at `position`, as the operator does: new
    // text goes in at the caret from then on.
    void Select(qsizetype anchor, qsizetype position);
    void SelectAll();
    void Copy() const;

    // Where the caret stands at `position`, and the position nearest to `point`,
    // both in viewport coordinates.
    QRect CaretRect(qsizetype position) const;
    qsizetype PositionAt(QPoint point) const;
    void EnsureVisible(qsizetype position);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void changeEvent(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void timerEvent(QTimerEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    static constexpr int Margin = 4; // around the text, as a text editor has

    struct Pending {
        QString text; // line ends as "\n"
        LogFormat format;
    };
    struct RowPlace {
        qsizetype line = 0;
        qsizetype from = 0; // offsets into the line
        qsizetype to = 0;
    };
    enum class Unit { Character, Word, Line };

    // ActiveLogEdit.cpp: the text, the batches and the caret.
    void ApplyPending();
    void ShiftSelection(qsizetype at, qsizetype length);
    void SetCaret(qsizetype anchor, qsizetype position);
    void ToSelectionClipboard() const;

    // ActiveLogView.cpp: rows on screen.
    void Rewrap(qsizetype keepInView = 0);
    qsizetype TopPosition() const;
    void UpdateScrollRange();
    int VisibleRows() const;
    RowPlace PlaceOfRow(qsizetype row) const;
    qsizetype RowOfPosition(qsizetype position) const;
    void LayOutRow(QTextLayout& layout, const RowPlace& place) const;
    void DrawRow(QPainter& painter, const RowPlace& place, qreal y) const;
    qsizetype PositionInRow(qsizetype row, qreal x) const;
    qreal WrapWidth() const;

    // ActiveLogInput.cpp: keys, mouse and menu.
    qsizetype Target(int where, bool select);
    qsizetype RowMove(qsizetype rows);
    void ExtendMouseSelection(QPoint point);
    std::pair<qsizetype, qsizetype> UnitAround(qsizetype position) const;
    void RestartBlink();

    ActiveLogContent m_content;
    ActiveLogFonts m_fonts{m_content};
    ActiveLogRows m_rows{m_content, m_fonts};
    QList<Pending> m_pending;
    qsizetype m_pendingLength = 0;
    QTimer m_batchTimer;
    QTextCharFormat m_charFormat;
    qsizetype m_caret = 0;
    qsizetype m_anchor = 0;
    qsizetype m_insertion = 0; // where collected text goes: the caret, unless text went in since
    qreal m_goalX = -1;        // the column that Up and Down keep to
    QBasicTimer m_blink;
    bool m_caretShown = false;
    QBasicTimer m_autoScroll;
    QPoint m_mouse;
    bool m_selecting = false;
    Unit m_unit = Unit::Character;
    std::pair<qsizetype, qsizetype> m_unitAnchor; // the word or line first clicked
    QElapsedTimer m_sinceDoubleClick;
};
