#pragma once

#include <QString>
#include <optional>

// The device path for a port name as the operator types it: a name holding "/"
// is a path; "COMn" (any case) is /dev/ttyS(n-1); any other name is /dev/NAME,
// so "ttyUSB0" works. An empty name stays empty (and fails to open).
QString DevicePath(const QString& portName);

// The PC/SC reader that a port name "pcsc:READER" selects (the prefix in any
// case): READER, or empty for "pcsc:" alone, which means the first reader with a
// card. Nothing for any other name.
std::optional<QString> PcscReaderName(const QString& portName);
