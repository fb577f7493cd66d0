#include "trace/TraceText.h"

#include "trace/TraceFormat.h"

QString TraceLine(const Trace& trace, const TraceRow& row)
{
    const QChar tab = u'\t';
    return MillisecondsText(row.sinceOpenNs) + tab + (row.silenceNs < 0 ? QString() : MillisecondsText(row.silenceNs))
           + tab + DirectionText(row.direction) + tab + ByteText(row.bytes) + tab + RowMeaning(trace, row);
}

QByteArray TraceText(const Trace& trace)
{
    QByteArray text = "time (ms)\tsilence (ms)\tdirection\tbytes\tmeaning\n";
    for (const TraceRow& row : trace.rows)
        text += TraceLine(trace, row).toUtf8() + '\n';
    return text;
}
