#pragma once

#include <QString>

// The device path for a port name as the operator types it: a name holding "/"
// is a path; "COMn" (any case) is /dev/ttyS(n-1); any other name is /dev/NAME,
// so "ttyUSB0" works. An empty name stays empty (and fails to open).
QString DevicePath(const QString& portName);
