#pragma once

#include "run/RunOptions.h"

#include <QString>

// The files a run writes (--log, --record, --trace, --pcap) and the one it
// checks against (--check) are patterns: "{device}" stands for the card
// interface's name made safe as a file name, "{n}" for the card's number in the
// run. A name without them is the same for every card.

// The name of the device or PC/SC reader ("pcsc:" alone: "pcsc") with every
// character but letters, digits, '.', '-' and '_' made '_', and without the
// '_' and '.' at its start: "/dev/ttyUSB0" gives "dev_ttyUSB0".
QString DeviceFileName(const QString& device);

QString FillPattern(const QString& pattern, const QString& deviceFileName, int card);

// The options as one card's run takes them: every pattern filled.
RunOptions ForOneCard(RunOptions options, const QString& deviceFileName, int card);

// The patterns of the options, each with its option's name: {"--record", "run-{n}.txt"}.
QList<std::pair<QString, QString>> OutputPatterns(const RunOptions& options);
