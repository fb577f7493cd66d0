#pragma once

#include <QAbstractProxyModel>
#include <QList>

class TraceModel;

// The rows of a TraceModel whose text holds the filter text, in any column and
// in any case, bytes written with or without blanks ("2FE2" finds "2F E2", and
// "2F E2" finds "SELECT 2FE2"); every row while the filter is empty. It follows the trace as it
// grows: new rows are looked at once, and the rows that change are looked at
// again. A new filter text keeps the rows chosen in a view that it still shows.
class TraceFilterModel : public QAbstractProxyModel {
    Q_OBJECT
public:
    explicit TraceFilterModel(TraceModel& trace, QObject* parent = nullptr);

    void SetText(const QString& text);
    QString Text() const { return m_text; }
    // The trace's row shown in `row`.
    int SourceRow(int row) const { return m_text.isEmpty() ? row : m_rows[row]; }

    QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    bool hasChildren(const QModelIndex& parent = {}) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    QModelIndex mapToSource(const QModelIndex& proxyIndex) const override;
    QModelIndex mapFromSource(const QModelIndex& sourceIndex) const override;

private:
    bool Matches(int sourceRow) const;
    QList<int> MatchingRows(int first, int last) const;
    // Where a row of the trace is shown, or -1.
    int RowOf(int sourceRow) const;
    void RowsInserted(int first, int last);
    void RowsChanged(int first, int last);
    void Reset();

    TraceModel& m_trace;
    QString m_text;
    QString m_bytes;    // the text with its bytes written as bytes
    int m_count = 0;    // rows shown while the filter is empty
    QList<int> m_rows;  // the trace's rows shown, in order, while it is not
};
