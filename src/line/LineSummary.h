#pragma once

#include "line/CardResult.h"

#include <QString>

// The table a line ends with, a row a card in the order of their numbers:
// interface, card, ATR, result (passed, differs, or what ended the run) and
// time; then the count of cards passed and failed.
QString SummaryTable(QList<CardResult> results);
