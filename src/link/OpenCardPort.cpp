#include "link/OpenCardPort.h"

#include "link/DeviceName.h"
#include "link/PcscPort.h"
#include "link/SerialPort.h"

std::unique_ptr<CardPort> OpenCardPort(const QString& portName, bool echoSentBytes, int& error)
{
    if (const auto reader = PcscReaderName(portName)) {
        auto port = std::make_unique<PcscPort>();
        error = port->Open(*reader, echoSentBytes);
        return port;
    }
    auto port = std::make_unique<SerialPort>();
    error = port->Open(DevicePath(portName));
    return port;
}
