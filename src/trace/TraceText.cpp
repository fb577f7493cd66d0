#include "trace/TraceText.h"

#include "trace/TraceFormat.h"

#include <QStringList>

QString TraceColumnName(int column)
{
    switch (column) {
    case TimeColumn: return QStringLiteral("time (ms)");
    case SilenceColumn: return QStringLiteral("silence (ms)");
    case DirectionColumn: return QStringLiteral("direction");
    case BytesColumn: return QStringLiteral("bytes");
    case MeaningColumn: return QStringLiteral("meaning");
    default: return {};
    }
}

QString TraceColumnText(const Trace& trace, const TraceRow& row, int column)
{
    switch (column) {
    case TimeColumn: return MillisecondsText(row.sinceOpenNs);
    case SilenceColumn: return row.silenceNs < 0 ? QString() : MillisecondsText(row.silenceNs);
    case DirectionColumn: return DirectionText(row.direction);
    case BytesColumn: return ByteText(trace.Bytes(row));
    case MeaningColumn: return RowMeaning(trace, row);
    default: return {};
    }
}

QString TraceLine(const Trace& trace, const TraceRow& row)
{
    QString line = TraceColumnText(trace, row, 0);
    for (int column = 1; column < TraceColumnCount; ++column)
        line += u'\t' + TraceColumnText(trace, row, column);
    return line;
}

QByteArray TraceText(const Trace& trace)
{
    QStringList names;
    for (int column = 0; column < TraceColumnCount; ++column)
        names.append(TraceColumnName(column));
    QByteArray text = names.join(u'\t').toUtf8() + '\n';
    for (const TraceRow& row : trace.rows)
        text += TraceLine(trace, row).toUtf8() + '\n';
    return text;
}
