#pragma once

#include <QString>

// The Setup page's values for a run: from the command line, else kestrin.ini.
struct LinkSettings {
    QString device;
    QString byteDelay = QStringLiteral("0");
    QString commandDelay = QStringLiteral("0");
    bool pcscEcho = true; // kestrin.ini's, for a PC/SC reader
};
