#pragma once

#include "trace/Trace.h"

#include <QByteArray>

// The columns of a trace row: the time since the port opened (ms), the silence
// before (ms), the direction, the bytes and the meaning.
enum TraceColumn { TimeColumn, SilenceColumn, DirectionColumn, BytesColumn, MeaningColumn, TraceColumnCount };

QString TraceColumnName(int column);
QString TraceColumnText(const Trace& trace, const TraceRow& row, int column);

// The trace as text, one row a line with tab-separated columns. The first line
// names the columns. UTF-8, LF line ends.
QByteArray TraceText(const Trace& trace);
QString TraceLine(const Trace& trace, const TraceRow& row);
