#include "link/OpenCardPort.h"

#include "link/DeviceName.h"
#include "link/SerialPort.h"

std::unique_ptr<CardPort> OpenCardPort(const QString& portName, int& error)
{
    auto port = std::make_unique<SerialPort>();
    error = port->Open(DevicePath(portName));
    return port;
}
