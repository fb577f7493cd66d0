#pragma once

#include "run/RunOptions.h"

#include <QString>

// The Setup page's values for a run: from the command line, else kestrin.ini.
struct LinkSettings {
    QString device;
    QString byteDelay = QStringLiteral("0");
    QString commandDelay = QStringLiteral("0");
    bool pcscEcho = true; // kestrin.ini's, for a PC/SC reader
};

// The command line's values (its first device), else kestrin.ini's (a delay it
// lacks reads "NA"), else no device and no delays.
LinkSettings ChooseLinkSettings(const RunOptions& options);

// The error of a run with no device given and none in kestrin.ini.
UsageError NoDeviceNamed();
