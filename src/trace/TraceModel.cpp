#include "trace/TraceModel.h"

#include "trace/TraceFormat.h"
#include "trace/TraceText.h"

#include <QElapsedTimer>
#include <algorithm>

namespace {

// Events decoded between looks at the clock.
constexpr qsizetype EventsPerLook = 256;
// A row of a long stream of bytes shows its beginning only.
constexpr qsizetype ShownBytes = 256;

} // namespace

TraceModel::TraceModel(const LinkTimeline& timeline, QObject* parent)
    : QAbstractTableModel(parent), m_timeline(timeline)
{
}

bool TraceModel::Update(std::chrono::milliseconds budget)
{
    if (m_timeline.Size() < m_fed)
        Restart();
    if (m_fed == m_timeline.Size())
        return true;
    const int unsettled = FirstUnsettledRow();
    const int rereads = m_decoder.Rereads();
    QElapsedTimer clock;
    clock.start();
    while (m_fed < m_timeline.Size()) {
        m_decoder.Add(m_timeline.At(m_fed++));
        if (m_fed % EventsPerLook == 0 && clock.elapsed() >= budget.count())
            break;
    }
    if (m_decoder.Rereads() != rereads) {
        beginResetModel(); // the decoder read the traffic since the open again
        m_shown = 0;
        endResetModel();
    } else if (unsettled < m_shown) {
        emit dataChanged(index(unsettled, 0), index(m_shown - 1, TraceColumnCount - 1));
    }
    const int rows = int(trace().rows.size());
    if (rows > m_shown) {
        beginInsertRows({}, m_shown, rows - 1);
        m_shown = rows;
        endInsertRows();
    }
    return m_fed == m_timeline.Size();
}

void TraceModel::Restart()
{
    beginResetModel();
    m_decoder = T0Decoder();
    m_fed = 0;
    m_shown = 0;
    endResetModel();
}

// The rows that new bytes may change: those still growing, and every row from
// the header of the oldest command under way, which names its status word once it comes.
int TraceModel::FirstUnsettledRow() const
{
    return std::clamp(int(m_decoder.FirstUnsettledRow()), 0, m_shown);
}

QList<TraceField> TraceModel::Fields(int row) const
{
    return row >= 0 && row < m_shown ? RowFields(trace(), trace().rows[row]) : QList<TraceField>();
}

QString TraceModel::RowText(int row) const
{
    if (row < 0 || row >= m_shown)
        return {};
    const TraceRow& shown = trace().rows[row];
    QString text = ColumnText(shown, 0);
    for (int column = 1; column < TraceColumnCount; ++column)
        text += u'\t' + ColumnText(shown, column);
    return text;
}

QString TraceModel::ColumnText(const TraceRow& row, int column) const
{
    if (column != BytesColumn || row.size <= ShownBytes)
        return TraceColumnText(trace(), row, column);
    return ByteText(trace().Bytes(row).first(ShownBytes)) + QStringLiteral(" ... (%1 bytes)").arg(row.size);
}

int TraceModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_shown; }

int TraceModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : TraceColumnCount; }

QVariant TraceModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    const TraceRow& row = trace().rows[index.row()];
    switch (role) {
    case Qt::DisplayRole:
        return ColumnText(row, index.column());
    case Qt::ToolTipRole:
        // The bytes and the meaning may be cut short in their columns.
        return index.column() >= BytesColumn ? ColumnText(row, index.column()) : QVariant();
    case Qt::TextAlignmentRole:
        return int(index.column() <= SilenceColumn ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
    default:
        return {};
    }
}

QVariant TraceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return TraceColumnName(section);
}
