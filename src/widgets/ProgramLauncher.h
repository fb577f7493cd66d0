#pragma once

#include <QString>

// Starts `program` (a path, run with no arguments) and waits for it to end,
// pumping messages meanwhile so the windows stay usable. The wait also ends when
// the program is closing; a program still running then is left to run on.
// Returns false when it could not be started. Whatever the pumped messages do
// (close a window, delete the caller), the wait itself touches nothing but the
// process.
bool LaunchAndWait(const QString& program);
