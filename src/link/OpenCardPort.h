#pragma once

#include "link/CardPort.h"

#include <memory>

// The card interface that a device name as the operator types it selects,
// opened: a PC/SC reader for "pcsc:" names (giving back each byte sent when
// `echoSentBytes`), a serial port otherwise. `error` is 0, or the failure to
// open, which the port (left closed) can name.
std::unique_ptr<CardPort> OpenCardPort(const QString& portName, bool echoSentBytes, int& error);
