#include "trace/TraceModel.h"

#include "trace/TraceFormat.h"
#include "trace/TraceText.h"

#include <algorithm>

namespace {

// A row of a long stream of bytes shows its beginning only.
constexpr qsizetype ShownBytes = 256;

// A column's text; a long row's bytes are cut short.
QString ColumnText(const Trace& trace, const TraceRow& row, int column)
{
    if (column != BytesColumn || row.size <= ShownBytes)
        return TraceColumnText(trace, row, column);
    return ByteText(trace.Bytes(row).first(ShownBytes)) + QStringLiteral(" ... (%1 bytes)").arg(row.size);
}

} // namespace

TraceModel::TraceModel(const LinkTimeline& timeline, QObject* parent)
    : QAbstractTableModel(parent), m_timeline(timeline)
{
}

TraceModel::~TraceModel() = default;

std::unique_ptr<TraceDecoding> TraceModel::NewDecoding()
{
    return std::make_unique<TraceDecoding>([this] { QMetaObject::invokeMethod(this, &TraceModel::Decoded, Qt::QueuedConnection); });
}

void TraceModel::Hand()
{
    if (m_timeline.Size() < m_fed)
        Restart();
    const qsizetype end = std::min(m_timeline.Size(), m_fed + MostEventsHanded);
    if (end > m_fed)
        m_decoding->Hand(m_timeline.Slice(m_fed, end));
    m_fed = end;
    m_leftOver = m_fed < m_timeline.Size();
}

bool TraceModel::Show(std::chrono::milliseconds wait)
{
    const DecodingProgress progress = m_decoding->Progress(wait);
    if (progress.events > m_announced)
        Announce(progress);
    if (progress.events == m_fed && m_leftOver)
        Hand();
    return progress.events == m_timeline.Size();
}

void TraceModel::Restart()
{
    beginResetModel();
    m_decoding = NewDecoding();
    m_fed = m_announced = 0;
    m_shown = m_unsettled = m_rereads = 0;
    endResetModel();
}

// The rows from the first that was unsettled when they were last announced may
// have changed since; the rows after those announced are new.
void TraceModel::Announce(const DecodingProgress& progress)
{
    if (progress.rereads != m_rereads) { // the decoder read the traffic since the open again
        beginResetModel();
        m_shown = m_unsettled = 0;
        m_rereads = progress.rereads;
        endResetModel();
    }
    if (m_unsettled < m_shown)
        emit dataChanged(index(m_unsettled, 0), index(m_shown - 1, TraceColumnCount - 1));
    if (progress.rows > m_shown) {
        beginInsertRows({}, m_shown, progress.rows - 1);
        m_shown = progress.rows;
        endInsertRows();
    }
    m_unsettled = progress.firstUnsettledRow;
    m_announced = progress.events;
}

QList<TraceField> TraceModel::Fields(int row) const
{
    if (row < 0 || row >= m_shown)
        return {};
    const TraceLook look = Look();
    return RowFields(look.trace(), look.trace().rows[row]);
}

QString TraceModel::RowText(int row) const
{
    if (row < 0 || row >= m_shown)
        return {};
    const TraceLook look = Look();
    const TraceRow& shown = look.trace().rows[row];
    QString text = ColumnText(look.trace(), shown, 0);
    for (int column = 1; column < TraceColumnCount; ++column)
        text += u'\t' + ColumnText(look.trace(), shown, column);
    return text;
}

int TraceModel::rowCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : m_shown; }

int TraceModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : TraceColumnCount; }

QVariant TraceModel::data(const QModelIndex& index, int role) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid))
        return {};
    // The bytes and the meaning may be cut short in their columns.
    const bool tip = role == Qt::ToolTipRole && index.column() >= BytesColumn;
    if (role == Qt::DisplayRole || tip) {
        const TraceLook look = Look();
        return ColumnText(look.trace(), look.trace().rows[index.row()], index.column());
    }
    if (role == Qt::TextAlignmentRole)
        return int(index.column() <= SilenceColumn ? Qt::AlignRight | Qt::AlignVCenter : Qt::AlignLeft | Qt::AlignVCenter);
    return {};
}

QVariant TraceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    return TraceColumnName(section);
}
