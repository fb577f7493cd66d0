#pragma once

#include "link/LinkTimeline.h"

#include <QString>

// A timeline from steps separated by ";", each event 1 ms after the one before:
//   "open W" (wall clock W ns), "close", "line N" (a LineFunction), "baud N",
//   "> 00 A4" (bytes sent, one event each, as the link's worker writes them),
//   "< 61 0F" (bytes received in one chunk).
LinkTimeline Steps(const QString& steps);
