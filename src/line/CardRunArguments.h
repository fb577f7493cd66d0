#pragma once

#include "line/LineInterfaces.h"
#include "run/RunOptions.h"

#include <QStringList>

// The arguments of one card's run: the line's options with the interface's
// device, every file pattern filled for the card, `recordPath` as its --record
// (empty: none), and the items, files by their absolute paths.
QStringList CardRunArguments(const RunOptions& options, const LineInterface& face, int card, const QString& recordPath);
