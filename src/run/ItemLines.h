#pragma once

#include "run/RunOptions.h"

#include <QStringList>

// The lines an item runs: a script's lines, or a data file's Raw Data lines with
// the file's line of each in `lineNumbers`; none for a command line. Throws
// KestrinError (FileError among them) for a file that cannot be read as one.
QStringList LoadItemLines(const RunItem& item, QList<qsizetype>& lineNumbers);
