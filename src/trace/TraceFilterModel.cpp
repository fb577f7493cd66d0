#include "trace/TraceFilterModel.h"

#include "trace/TraceModel.h"

#include <algorithm>
#include <cctype>

namespace {

bool IsHexDigit(QChar c) { return c.unicode() < 128 && std::isxdigit(c.unicode()); }

// A word of an even number of hexadecimal digits, two bytes or more, is written as
// bytes ("2FE2" as "2F E2"); any other word as it is.
void AppendWord(QString& out, QStringView word)
{
    const bool bytes = word.size() >= 4 && word.size() % 2 == 0 && std::all_of(word.begin(), word.end(), IsHexDigit);
    for (qsizetype i = 0; i < word.size(); ++i) {
        if (bytes && i > 0 && i % 2 == 0)
            out += u' ';
        out += word[i];
    }
}

// The text with every word of bytes written as bytes, so that bytes compare however
// they were blanked, and only on their bounds ("40 00" is not in "A4 00 00").
QString WrittenAsBytes(const QString& text)
{
    QString out;
    out.reserve(text.size() + text.size() / 4);
    qsizetype wordStart = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i].isLetterOrNumber())
            continue;
        AppendWord(out, QStringView(text).sliced(wordStart, i - wordStart));
        if (i < text.size())
            out += text[i];
        wordStart = i + 1;
    }
    return out;
}

} // namespace

TraceFilterModel::TraceFilterModel(TraceModel& trace, QObject* parent) : QAbstractProxyModel(parent), m_trace(trace)
{
    QAbstractProxyModel::setSourceModel(&trace);
    m_count = trace.rowCount();
    // The trace only ever appends rows, changes its last ones or starts afresh.
    connect(&trace, &TraceModel::rowsInserted, this, [this](const QModelIndex&, int first, int last) {
        RowsInserted(first, last);
    });
    connect(&trace, &TraceModel::dataChanged, this, [this](const QModelIndex& top, const QModelIndex& bottom) {
        RowsChanged(top.row(), bottom.row());
    });
    connect(&trace, &TraceModel::modelReset, this, &TraceFilterModel::Reset);
}

void TraceFilterModel::SetText(const QString& text)
{
    const QString trimmed = text.trimmed();
    if (trimmed == m_text)
        return;
    emit layoutAboutToBeChanged();
    const QModelIndexList before = persistentIndexList();
    QList<int> sourceRows;
    for (const QModelIndex& index : before)
        sourceRows.append(SourceRow(index.row()));
    m_text = trimmed;
    m_bytes = WrittenAsBytes(trimmed.simplified());
    m_rows = m_text.isEmpty() ? QList<int>() : MatchingRows(0, m_trace.rowCount() - 1);
    m_count = m_trace.rowCount();
    QModelIndexList after;
    for (qsizetype i = 0; i < before.size(); ++i) {
        const int row = RowOf(sourceRows[i]);
        after.append(row < 0 ? QModelIndex() : index(row, before[i].column()));
    }
    changePersistentIndexList(before, after);
    emit layoutChanged();
}

bool TraceFilterModel::Matches(int sourceRow) const
{
    const QString text = m_trace.RowText(sourceRow);
    return text.contains(m_text, Qt::CaseInsensitive) || WrittenAsBytes(text).contains(m_bytes, Qt::CaseInsensitive);
}

QList<int> TraceFilterModel::MatchingRows(int first, int last) const
{
    QList<int> rows;
    for (int row = first; row <= last; ++row) {
        if (Matches(row))
            rows.append(row);
    }
    return rows;
}

int TraceFilterModel::RowOf(int sourceRow) const
{
    if (m_text.isEmpty())
        return sourceRow < m_count ? sourceRow : -1;
    const auto found = std::lower_bound(m_rows.cbegin(), m_rows.cend(), sourceRow);
    return found != m_rows.cend() && *found == sourceRow ? int(found - m_rows.cbegin()) : -1;
}

void TraceFilterModel::RowsInserted(int first, int last)
{
    const QList<int> rows = m_text.isEmpty() ? QList<int>() : MatchingRows(first, last);
    const int shown = rowCount();
    const int added = m_text.isEmpty() ? last - first + 1 : int(rows.size());
    if (added == 0)
        return;
    beginInsertRows({}, shown, shown + added - 1);
    m_count += last - first + 1;
    m_rows += rows;
    endInsertRows();
}

// Rows that changed may now match or no longer: those whose matching stayed as
// it was are announced as changed, the rest leave and come in again.
void TraceFilterModel::RowsChanged(int first, int last)
{
    if (m_text.isEmpty()) {
        emit dataChanged(index(first, 0), index(last, columnCount() - 1));
        return;
    }
    const int begin = int(std::lower_bound(m_rows.cbegin(), m_rows.cend(), first) - m_rows.cbegin());
    const int end = int(std::upper_bound(m_rows.cbegin(), m_rows.cend(), last) - m_rows.cbegin());
    const QList<int> now = MatchingRows(first, last);
    int kept = 0;
    while (begin + kept < end && kept < now.size() && m_rows[begin + kept] == now[kept])
        ++kept;
    if (kept > 0)
        emit dataChanged(index(begin, 0), index(begin + kept - 1, columnCount() - 1));
    if (begin + kept < end) {
        beginRemoveRows({}, begin + kept, end - 1);
        m_rows.remove(begin + kept, end - begin - kept);
        endRemoveRows();
    }
    if (kept < now.size()) {
        beginInsertRows({}, begin + kept, begin + int(now.size()) - 1);
        for (qsizetype i = kept; i < now.size(); ++i)
            m_rows.insert(begin + i, now[i]);
        endInsertRows();
    }
}

void TraceFilterModel::Reset()
{
    beginResetModel();
    m_count = m_trace.rowCount();
    m_rows = m_text.isEmpty() ? QList<int>() : MatchingRows(0, m_count - 1);
    endResetModel();
}

QModelIndex TraceFilterModel::index(int row, int column, const QModelIndex& parent) const
{
    return hasIndex(row, column, parent) ? createIndex(row, column) : QModelIndex();
}

QModelIndex TraceFilterModel::parent(const QModelIndex&) const { return {}; }

int TraceFilterModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return m_text.isEmpty() ? m_count : int(m_rows.size());
}

int TraceFilterModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : m_trace.columnCount();
}

bool TraceFilterModel::hasChildren(const QModelIndex& parent) const { return rowCount(parent) > 0; }

QVariant TraceFilterModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    return m_trace.headerData(section, orientation, role);
}

QModelIndex TraceFilterModel::mapToSource(const QModelIndex& proxyIndex) const
{
    if (!proxyIndex.isValid())
        return {};
    return m_trace.index(SourceRow(proxyIndex.row()), proxyIndex.column());
}

QModelIndex TraceFilterModel::mapFromSource(const QModelIndex& sourceIndex) const
{
    if (!sourceIndex.isValid())
        return {};
    const int row = RowOf(sourceIndex.row());
    return row < 0 ? QModelIndex() : index(row, sourceIndex.column());
}
