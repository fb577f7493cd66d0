#pragma once

#include "line/LineInterfaces.h"
#include "run/RunOptions.h"

// What a line can know to fail before its first card, as a single run finds it
// before its card. Each throws the KestrinError of the first fault.

// The items' files.
void CheckItems(const RunOptions& options);

// The files of the cards: none that several cards would write alike, the
// transcript to check against, the files to write (where a name holds {n},
// card after card, as card 1's), the JUnit report.
void CheckFiles(const RunOptions& options, const QList<LineInterface>& interfaces);
