#pragma once

#include "trace/TraceTiming.h"

#include <QString>

// Between a trace's rows and its timing: the bar of a row of an exchange, the
// mark of a row of a NULL byte or reset (none for other rows, or rows not in the
// trace), and what a row of the trace means in words.

const TimingBar* TimingBarOfRow(const Trace& trace, const TraceTiming& timing, int row);
const TimingMark* TimingMarkOfRow(const TraceTiming& timing, int row);
// "SELECT 3F00 -> 9F 0F: ...; the card answered after 1.000 ms; 2.500 ms in all",
// or a row's meaning with the time of its mark.
QString TimingRowText(const Trace& trace, const TraceTiming& timing, int row);
