#pragma once

#include "T0Card.h"

#include <QByteArray>
#include <QList>
#include <QStringList>

// The transcript of a session with `card`, as kestrin-run would record it: the
// ATR, then each line sent whole and what came back for it (each byte's echo
// first, when the interface echoes, then the card's answer to it). For tests
// and benchmarks of the replayed card.
QStringList RecordSession(T0Card& card, const QByteArray& atr, const QList<QByteArray>& lines, bool echo);
