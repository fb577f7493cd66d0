// The Active Log on screen: the rows in view laid out and drawn, the scroll range
// in rows, and where positions and points meet.
#include "main/ActiveLogEdit.h"

#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QTextLayout>
#include <cmath>

qreal ActiveLogEdit::WrapWidth() const { return viewport()->width() - 2 * Margin; }

// Wraps the whole log again; the row holding `keepInView` comes to the top.
void ActiveLogEdit::Rewrap(qsizetype keepInView)
{
    m_rows.Reset(WrapWidth());
    UpdateScrollRange();
    verticalScrollBar()->setValue(int(RowOfPosition(keepInView)));
    viewport()->update();
}

qsizetype ActiveLogEdit::TopPosition() const
{
    const RowPlace top = PlaceOfRow(verticalScrollBar()->value());
    return m_content.LineStart(top.line) + top.from;
}

void ActiveLogEdit::UpdateScrollRange()
{
    QScrollBar* bar = verticalScrollBar();
    const int visible = VisibleRows();
    bar->setRange(0, int(std::max<qsizetype>(0, m_rows.RowCount() - visible)));
    bar->setPageStep(visible);
    bar->setSingleStep(1);
}

int ActiveLogEdit::VisibleRows() const
{
    return std::max(1, (viewport()->height() - 2 * Margin) / m_fonts.RowHeight());
}

ActiveLogEdit::RowPlace ActiveLogEdit::PlaceOfRow(qsizetype row) const
{
    row = std::clamp<qsizetype>(row, 0, m_rows.RowCount() - 1);
    const qsizetype line = m_rows.LineOfRow(row);
    const QList<qsizetype> starts = m_rows.RowStarts(line, row - m_rows.FirstRow(line), 1);
    return {line, starts.first(), starts.last()};
}

qsizetype ActiveLogEdit::RowOfPosition(qsizetype position) const
{
    const qsizetype line = m_content.LineOf(position);
    return m_rows.FirstRow(line) + m_rows.RowOf(line, position - m_content.LineStart(line));
}

void ActiveLogEdit::LayOutRow(QTextLayout& layout, const RowPlace& place) const
{
    QList<ActiveLogContent::Span> spans;
    QString text = m_content.LinePart(place.line, place.from, place.to, &spans);
    text.replace(QChar::LineSeparator, u' '); // a row is one line on screen
    layout.setText(text);
    layout.setFont(m_fonts.Font());
    QTextOption option;
    option.setWrapMode(QTextOption::NoWrap);
    option.setTabStopDistance(m_fonts.TabDistance());
    layout.setTextOption(option);
    QList<QTextLayout::FormatRange> formats;
    for (const ActiveLogContent::Span& span : spans)
        if (const QTextCharFormat format = m_fonts.CharFormat(span.format); !format.properties().isEmpty())
            formats.append({int(span.start), int(span.length), format});
    layout.setFormats(formats);
    layout.beginLayout();
    layout.createLine().setPosition({0, 0});
    layout.endLayout();
}

void ActiveLogEdit::DrawRow(QPainter& painter, const RowPlace& place, qreal y) const
{
    QTextLayout layout;
    LayOutRow(layout, place);
    const qsizetype lineStart = m_content.LineStart(place.line), lineEnd = lineStart + m_content.LineLength(place.line);
    const qsizetype selectionStart = std::min(m_anchor, m_caret), selectionEnd = std::max(m_anchor, m_caret);
    QTextCharFormat selected;
    selected.setBackground(palette().brush(QPalette::Highlight));
    selected.setForeground(palette().brush(QPalette::HighlightedText));
    QList<QTextLayout::FormatRange> selections;
    const qsizetype from = std::max(selectionStart, lineStart + place.from), to = std::min(selectionEnd, lineStart + place.to);
    if (from < to)
        selections.append({int(from - lineStart - place.from), int(to - from), selected});
    const QPointF origin(Margin, y);
    layout.draw(&painter, origin, selections);
    const bool lastRow = lineStart + place.to == lineEnd;
    if (lastRow && selectionStart <= lineEnd && lineEnd < selectionEnd) // the line end is selected
        painter.fillRect(QRectF(origin.x() + layout.lineAt(0).naturalTextWidth(), y, m_fonts.Width(u' ', 0),
                                m_fonts.RowHeight()),
                         selected.background());
    const qsizetype caret = m_caret - lineStart;
    if (m_caretShown && caret >= place.from && (caret < place.to || (caret == place.to && lastRow)))
        layout.drawCursor(&painter, origin, int(caret - place.from));
}

void ActiveLogEdit::paintEvent(QPaintEvent*)
{
    QPainter painter(viewport());
    const int height = m_fonts.RowHeight();
    qsizetype row = verticalScrollBar()->value();
    const qsizetype end = std::min(m_rows.RowCount(), row + VisibleRows() + 2);
    qreal y = Margin;
    while (row < end) {
        const qsizetype line = m_rows.LineOfRow(row), first = row - m_rows.FirstRow(line);
        const QList<qsizetype> starts = m_rows.RowStarts(line, first, std::min(m_rows.RowsIn(line) - first, end - row));
        if (starts.size() < 2)
            break;
        for (qsizetype i = 0; i + 1 < starts.size(); ++i, ++row, y += height)
            DrawRow(painter, {line, starts[i], starts[i + 1]}, y);
    }
}

qsizetype ActiveLogEdit::PositionInRow(qsizetype row, qreal x) const
{
    const RowPlace place = PlaceOfRow(row);
    QTextLayout layout;
    LayOutRow(layout, place);
    return m_content.LineStart(place.line) + place.from + layout.lineAt(0).xToCursor(x - Margin);
}

qsizetype ActiveLogEdit::PositionAt(QPoint point) const
{
    const auto row = qsizetype(std::floor(qreal(point.y() - Margin) / m_fonts.RowHeight()));
    return PositionInRow(verticalScrollBar()->value() + row, point.x());
}

QRect ActiveLogEdit::CaretRect(qsizetype position) const
{
    position = std::clamp<qsizetype>(position, 0, m_content.Length());
    const qsizetype row = RowOfPosition(position);
    const RowPlace place = PlaceOfRow(row);
    QTextLayout layout;
    LayOutRow(layout, place);
    const qreal x = layout.lineAt(0).cursorToX(int(position - m_content.LineStart(place.line) - place.from));
    const int height = m_fonts.RowHeight();
    return QRect(int(Margin + x), int(Margin + (row - verticalScrollBar()->value()) * height), 1, height);
}

void ActiveLogEdit::EnsureVisible(qsizetype position)
{
    QScrollBar* bar = verticalScrollBar();
    const qsizetype row = RowOfPosition(position);
    if (row < bar->value())
        bar->setValue(int(row));
    else if (row >= bar->value() + VisibleRows())
        bar->setValue(int(row - VisibleRows() + 1));
}

void ActiveLogEdit::scrollContentsBy(int, int) { viewport()->update(); }

void ActiveLogEdit::resizeEvent(QResizeEvent* event)
{
    QAbstractScrollArea::resizeEvent(event);
    if (WrapWidth() != m_rows.Width())
        Rewrap(TopPosition());
    else
        UpdateScrollRange();
}

void ActiveLogEdit::changeEvent(QEvent* event)
{
    QAbstractScrollArea::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        const qsizetype top = TopPosition();
        m_fonts.SetFont(font());
        Rewrap(top);
    }
}
