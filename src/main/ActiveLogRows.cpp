#include "main/ActiveLogRows.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

ActiveLogRows::ActiveLogRows(const ActiveLogContent& content, const LogCharWidths& widths)
    : m_content(content), m_widths(widths)
{
    Reset(1);
}

void ActiveLogRows::Reset(qreal width)
{
    m_width = std::max<qreal>(width, 1);
    m_rows.assign(m_content.LineCount(), 1);
    m_marks.clear();
    m_firstRow.clear();
    m_counted = 0;
    for (qsizetype line = 0; line < m_content.LineCount(); ++line)
        WrapFrom(line, {});
}

void ActiveLogRows::Update(qsizetype line, qsizetype offset, qsizetype length, qsizetype addedLines)
{
    m_rows.insert(m_rows.begin() + line + 1, addedLines, 1);
    ShiftMarks(line, addedLines);
    // A blank put into the first word of a row can let that word move up a row, so
    // the wrap starts from the mark before the last one before the insert.
    const Mark before = MarkAtOrBefore(line, offset - 1);
    const Mark from = MarkAtOrBefore(line, before.start - 1);
    const Inserted inserted{offset + length, length};
    WrapFrom(line, from, addedLines == 0 ? &inserted : nullptr);
    for (qsizetype added = 1; added <= addedLines; ++added)
        WrapFrom(line + added, {});
}

qsizetype ActiveLogRows::RowCount() const
{
    const qsizetype last = qsizetype(m_rows.size()) - 1;
    CountRowsBefore(last);
    return m_firstRow[last] + m_rows[last];
}

qsizetype ActiveLogRows::FirstRow(qsizetype line) const
{
    CountRowsBefore(line);
    return m_firstRow[line];
}

qsizetype ActiveLogRows::LineOfRow(qsizetype row) const
{
    CountRowsBefore(qsizetype(m_rows.size()) - 1);
    const auto after = std::upper_bound(m_firstRow.begin(), m_firstRow.end(), row);
    return std::max<qsizetype>(0, after - m_firstRow.begin() - 1);
}

QList<qsizetype> ActiveLogRows::RowStarts(qsizetype line, qsizetype first, qsizetype count) const
{
    QList<qsizetype> starts;
    const Mark mark = MarkOfRow(line, first);
    qsizetype row = mark.row;
    if (row == first)
        starts.append(mark.start);
    Wrap(line, mark.start, [&](qsizetype start) {
        if (++row >= first)
            starts.append(start);
        return row < first + count;
    });
    if (starts.size() < count + 1)
        starts.append(m_content.LineLength(line));
    return starts;
}

qsizetype ActiveLogRows::RowOf(qsizetype line, qsizetype offset) const
{
    const Mark mark = MarkAtOrBefore(line, offset);
    qsizetype row = mark.row;
    Wrap(line, mark.start, [&](qsizetype start) {
        if (start > offset)
            return false;
        ++row;
        return true;
    });
    return row;
}

namespace {

// The greedy wrap, fed one character at a time.
template <typename RowStarted>
class Wrapper {
public:
    Wrapper(qreal width, qsizetype start, RowStarted& rowStarted)
        : m_width(width), m_rowStart(start), m_breakAt(start), m_rowStarted(rowStarted)
    {
    }

    qreal X() const { return m_x; }

    // A blank or a tab: a row may end after it, and it may run past the edge.
    void Blank(qsizetype at, qreal width)
    {
        m_x += width;
        m_breakAt = at + 1;
        m_xAtBreak = m_x;
    }

    // Any other character; false once rowStarted asked to stop.
    bool Other(qsizetype at, qreal width, bool mayStartRow = true)
    {
        if (m_x + width > m_width && at > m_rowStart && mayStartRow) {
            if (m_breakAt > m_rowStart)
                StartRow(m_breakAt, m_x - m_xAtBreak);
            else
                StartRow(at, 0);
            if (!m_rowStarted(m_rowStart))
                return false;
            if (m_x + width > m_width && at > m_rowStart) { // the word alone is wider than a row
                StartRow(at, 0);
                if (!m_rowStarted(m_rowStart))
                    return false;
            }
        }
        m_x += width;
        return true;
    }

private:
    void StartRow(qsizetype at, qreal x)
    {
        m_rowStart = m_breakAt = at;
        m_x = x;
    }

    qreal m_width;
    qreal m_x = 0;
    qreal m_xAtBreak = 0;
    qsizetype m_rowStart;
    qsizetype m_breakAt;
    RowStarted& m_rowStarted;
};

} // namespace

// Received bytes go a byte at a time, with the widths of their digits looked up
// once per piece: a long line wraps again quickly.
template <typename RowStarted>
void ActiveLogRows::Wrap(qsizetype line, qsizetype start, RowStarted rowStarted) const
{
    Wrapper<RowStarted> wrapper(m_width, start, rowStarted);
    const auto character = [&](qsizetype at, QChar c, quint16 format) {
        const char16_t unit = c.unicode();
        if (unit == u'\t' && m_widths.TabDistance() > 0) {
            wrapper.Blank(at, m_widths.TabDistance() - std::fmod(wrapper.X(), m_widths.TabDistance()));
            return true;
        }
        if (unit == u' ' || unit == u'\t') {
            wrapper.Blank(at, m_widths.Width(u' ', format));
            return true;
        }
        return wrapper.Other(at, m_widths.Width(c, format), !c.isLowSurrogate() && !(unit >= 0x300 && c.isMark()));
    };
    m_content.ForEachPiece(line, start, [&](qsizetype offset, const ActiveLogContent::PieceView& piece) {
        const qsizetype from = std::max<qsizetype>(0, start - offset);
        if (piece.bytes.isEmpty()) {
            for (qsizetype i = from; i < piece.text.size(); ++i)
                if (!character(offset + i, piece.text[i], piece.format))
                    return false;
            return true;
        }
        std::array<qreal, 16> digits;
        for (int digit = 0; digit < 16; ++digit)
            digits[digit] = m_widths.Width(ActiveLogText::ByteChar(quint8(digit), 1), piece.format);
        const qreal blank = m_widths.Width(u' ', piece.format);
        for (qsizetype i = from; i < 3 * piece.bytes.size(); ++i) { // the first byte may be entered midway
            const auto byte = quint8(piece.bytes[i / 3]);
            const qsizetype at = offset + i;
            if (i % 3 == 2) {
                wrapper.Blank(at, blank);
            } else if (i % 3 == 1 || i + 1 == 3 * piece.bytes.size()) {
                if (!wrapper.Other(at, digits[i % 3 == 0 ? byte >> 4 : byte & 0xF]))
                    return false;
            } else {
                if (!wrapper.Other(at, digits[byte >> 4]) || !wrapper.Other(at + 1, digits[byte & 0xF]))
                    return false;
                ++i;
            }
        }
        return true;
    });
}

// Wraps `line` again from the row `from` starts. After an insert, the wrap stops at
// the first row behind the new text that starts where an old mark's row did: from
// there on the rows are the old ones, moved on by the inserted length.
void ActiveLogRows::WrapFrom(qsizetype line, Mark from, const Inserted* inserted)
{
    std::vector<Mark> old;
    if (const auto found = m_marks.find(line); found != m_marks.end()) {
        old = std::move(found->second);
        m_marks.erase(found);
    }
    const auto kept = std::find_if(old.begin(), old.end(), [&](const Mark& mark) { return mark.row > from.row; });
    std::vector<Mark> marks(old.begin(), kept);
    auto met = kept;
    qsizetype row = from.row, lastMark = from.row;
    std::optional<qsizetype> moved; // rows added by the insert, once its rows met the old ones
    Wrap(line, from.start, [&](qsizetype start) {
        if (++row - lastMark >= RowsPerMark) {
            marks.push_back({row, start});
            lastMark = row;
        }
        if (!inserted || start < inserted->end)
            return true;
        while (met != old.end() && met->start + inserted->length < start)
            ++met;
        if (met == old.end() || met->start + inserted->length != start)
            return true;
        moved = row - met->row;
        return false;
    });
    if (moved) {
        if (lastMark == row)
            ++met; // just marked
        for (; met != old.end(); ++met)
            marks.push_back({met->row + *moved, met->start + inserted->length});
        m_rows[line] = quint32(m_rows[line] + *moved);
    } else {
        m_rows[line] = quint32(row + 1);
    }
    if (!marks.empty())
        m_marks.emplace(line, std::move(marks));
    m_counted = std::min(m_counted, line + 1);
}

// The last mark of `line` whose `field` is at most `value`; the line's start when none is.
ActiveLogRows::Mark ActiveLogRows::LastMark(qsizetype line, qsizetype value, qsizetype Mark::*field) const
{
    const auto found = m_marks.find(line);
    if (found == m_marks.end())
        return {};
    const std::vector<Mark>& marks = found->second;
    const auto after = std::upper_bound(marks.begin(), marks.end(), value,
                                        [field](qsizetype at, const Mark& mark) { return at < mark.*field; });
    return after == marks.begin() ? Mark{} : *(after - 1);
}

void ActiveLogRows::ShiftMarks(qsizetype afterLine, qsizetype by)
{
    if (by == 0)
        return;
    std::vector<std::pair<qsizetype, std::vector<Mark>>> moved;
    for (auto later = m_marks.upper_bound(afterLine); later != m_marks.end(); later = m_marks.erase(later))
        moved.emplace_back(later->first + by, std::move(later->second));
    for (auto& [line, marks] : moved)
        m_marks.emplace(line, std::move(marks));
}

void ActiveLogRows::CountRowsBefore(qsizetype line) const
{
    m_firstRow.resize(m_rows.size());
    for (; m_counted <= line; ++m_counted)
        m_firstRow[m_counted] = m_counted == 0 ? 0 : m_firstRow[m_counted - 1] + m_rows[m_counted - 1];
}
