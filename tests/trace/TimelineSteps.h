#pragma once

#include "link/LinkTimeline.h"

#include <QRandomGenerator>
#include <QString>

// A timeline from steps separated by ";", each event 1 ms after the one before:
//   "open W" (wall clock W ns), "close", "line N" (a LineFunction), "baud N",
//   "wait N" (N ms more go by),
//   "> 00 A4" (bytes sent, one event each, as the link's worker writes them),
//   "< 61 0F" (bytes received in one chunk), "note K 80 3C" (a ReaderNoteKind and its bytes).
LinkTimeline Steps(const QString& steps);

// A run like the demo's against the simulator: the ATR, a GSM SELECT of the MF
// with its GET RESPONSE, and an ISO SELECT of the ICCID with its READ BINARY;
// then the port closes and opens again on a card with another ATR.
LinkTimeline DemoRun();

// 400 events of random traffic, mostly bytes that mean something in T=0, with
// opens, baud changes and line actions among them; `bytes` counts those sent and received.
LinkTimeline RandomTraffic(QRandomGenerator& random, qint64& bytes);
