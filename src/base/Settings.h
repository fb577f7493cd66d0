#pragma once

#include <QString>
#include <optional>

// The values of the Setup page as the settings file keeps them.
struct SetupValues {
    QString com;
    QString byteDelay;
    QString commandDelay;
    bool autoInit = false;
    // A PC/SC reader gives back each byte sent, as a serial interface does.
    bool pcscEcho = true;
};

// kestrin.ini in the settings folder (the program folder, or the user's own).
QString SettingsPath();

// The stored values, or nothing when the file holds no "COM" or COM is "NA":
// then the Setup page keeps what it shows. A delay key that is missing reads "NA".
std::optional<SetupValues> LoadSettings(const QString& path);

// The reader's echo as stored ("ECHO" in section PCSC), whatever the rest of the
// file holds; nothing when the file does not say.
std::optional<bool> LoadPcscEcho(const QString& path);

// Writes COM, BDELAY, CDELAY and AUTOINIT in that order, then ECHO in section
// PCSC when it is off or that section is there already, so a file stays as it
// was for whoever keeps the echo on; throws FileError "Unable to write to
// <path>" at the first key that cannot be written.
void SaveSettings(const QString& path, const SetupValues& values);
