#pragma once

#include <QString>
#include <optional>

// The values of the Setup page as the settings file keeps them.
struct SetupValues {
    QString com;
    QString byteDelay;
    QString commandDelay;
    bool autoInit = false;
};

// kestrin.ini in the settings folder (the program folder, or the user's own).
QString SettingsPath();

// The stored values, or nothing when the file holds no "COM" or COM is "NA":
// then the Setup page keeps what it shows. A delay key that is missing reads "NA".
std::optional<SetupValues> LoadSettings(const QString& path);

// Writes COM, BDELAY, CDELAY and AUTOINIT in that order; throws FileError
// "Unable to write to <path>" at the first key that cannot be written.
void SaveSettings(const QString& path, const SetupValues& values);
