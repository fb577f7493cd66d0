#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One card interface as Wireshark lists it.
struct CaptureInterface {
    QString value;   // Wireshark's name for it: "kestrin-serial", "kestrin-pcsc-<reader>"
    QString display; // what Wireshark shows beside the name
    QString device;  // as kestrin-run's --device takes it
};

// The interfaces to offer: the serial device the settings file names (none for
// none, and a PC/SC name is no serial device), then each PC/SC reader. A
// reader's value is its name in lower case with every run of other characters
// than letters and digits made one "-", so that Wireshark's options keep to it.
QList<CaptureInterface> CaptureInterfaces(const QString& settingsDevice, const QStringList& readers);

// The interfaces of this machine now: COM of kestrin.ini and the readers pcscd
// knows (none when it cannot be reached).
QList<CaptureInterface> PresentInterfaces();
