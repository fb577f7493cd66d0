#pragma once

#include <QString>
#include <optional>

// What tshark shows of a capture file in full (`tshark -r FILE -V`), read with no
// preferences of the user's; nothing when tshark is not installed (Debian
// package tshark; scripts/setup.sh installs it).
struct TsharkReading {
    int exitCode = -1;
    QString output;
    QString errors;
};
std::optional<TsharkReading> ReadWithTshark(const QString& path);
