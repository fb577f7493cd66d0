#pragma once

#include "main/ActiveLogContent.h"

#include <map>
#include <vector>

// The widths that rows are measured in.
class LogCharWidths {
public:
    virtual ~LogCharWidths() = default;
    virtual qreal Width(QChar c, quint16 format) const = 0;
    virtual qreal TabDistance() const = 0;
};

// How the Active Log's lines wrap into rows of a width: after the last blank that
// fits (blanks may run past the edge), anywhere in a word longer than a row, never
// inside a surrogate pair or before a combining mark. Keeps each line's row count
// and, for a long line, marks: the start of about every RowsPerMark-th row, so that
// any row is found by wrapping a few rows again, and an insert wraps again only
// until its rows meet the old ones: a row costs the same however long its line.
class ActiveLogRows {
public:
    static constexpr qsizetype RowsPerMark = 32;

    ActiveLogRows(const ActiveLogContent& content, const LogCharWidths& widths);

    // Wraps every line again at `width`.
    void Reset(qreal width);
    // After `length` characters went in at `offset` of `line`, whose line ends added
    // `addedLines` lines after it.
    void Update(qsizetype line, qsizetype offset, qsizetype length, qsizetype addedLines);
    qreal Width() const { return m_width; }

    qsizetype RowCount() const;
    qsizetype RowsIn(qsizetype line) const { return m_rows[line]; }
    qsizetype FirstRow(qsizetype line) const;
    qsizetype LineOfRow(qsizetype row) const;
    // The starts of rows first .. first + count - 1 of `line`, then where the last of
    // them ends: offsets into the line.
    QList<qsizetype> RowStarts(qsizetype line, qsizetype first, qsizetype count) const;
    // The row of `line` that holds `offset`; a row's start belongs to it.
    qsizetype RowOf(qsizetype line, qsizetype offset) const;

private:
    struct Mark {
        qsizetype row = 0;
        qsizetype start = 0;
    };
    // Text put in at one place of a line: its end and its length.
    struct Inserted {
        qsizetype end = 0;
        qsizetype length = 0;
    };
    // Calls rowStarted(start) for every row after the one starting at `start` while it returns true.
    template <typename RowStarted>
    void Wrap(qsizetype line, qsizetype start, RowStarted rowStarted) const;
    void WrapFrom(qsizetype line, Mark from, const Inserted* inserted = nullptr);
    Mark LastMark(qsizetype line, qsizetype value, qsizetype Mark::*field) const;
    Mark MarkOfRow(qsizetype line, qsizetype row) const { return LastMark(line, row, &Mark::row); }
    Mark MarkAtOrBefore(qsizetype line, qsizetype offset) const { return LastMark(line, offset, &Mark::start); }
    void ShiftMarks(qsizetype afterLine, qsizetype by);
    void CountRowsBefore(qsizetype line) const;

    const ActiveLogContent& m_content;
    const LogCharWidths& m_widths;
    qreal m_width = 1;
    std::vector<quint32> m_rows;                    // rows of each line
    std::map<qsizetype, std::vector<Mark>> m_marks; // of the long lines, in order
    mutable std::vector<qsizetype> m_firstRow;           // rows before each line, counted below m_counted
    mutable qsizetype m_counted = 0;
};
