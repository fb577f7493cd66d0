#pragma once

#include "link/LinkTimeline.h"
#include "trace/T0Decoder.h"

#include <QAbstractTableModel>
#include <chrono>

// The trace of a card link as a table that follows the link: each Update decodes
// the events recorded since the one before and appends their rows. The rows of
// the exchange under way may still grow; they are announced as changed. A
// timeline that was emptied starts the table afresh. The columns are those of
// the trace's text form.
class TraceModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit TraceModel(const LinkTimeline& timeline, QObject* parent = nullptr);

    // Decodes new events for about `budget` at most; false while some are left.
    bool Update(std::chrono::milliseconds budget);

    const Trace& trace() const { return m_decoder.Current(); }
    // The fields of the ATR or exchange that a row belongs to.
    QList<TraceField> Fields(int row) const;
    // The row's columns as one line of text, as a filter looks at them.
    QString RowText(int row) const;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

private:
    // A column's text; a long row's bytes are cut short.
    QString ColumnText(const TraceRow& row, int column) const;
    void Restart();
    int FirstUnsettledRow() const;

    const LinkTimeline& m_timeline;
    T0Decoder m_decoder;
    qsizetype m_fed = 0; // events decoded
    int m_shown = 0;     // rows announced
};
