#pragma once

#include "trace/Trace.h"

// The words for one command exchange.

// "SELECT 3F00 -> 9F 0F: 15 bytes of response ready"; an exchange that ended
// without a status word says why.
QString ExchangeSummary(const TraceExchange& exchange);
// The header's row: "SELECT, 2 bytes to the card".
QString HeaderMeaning(const TraceExchange& exchange);
QList<TraceField> ExchangeFields(const TraceExchange& exchange);
