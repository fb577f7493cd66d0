#pragma once

#include "link/CardPort.h"

#include <mutex>

// A serial device opened exclusively (under its advisory lock, flock) and driven
// raw with the card line's framing: 8 data bits, odd parity, 2 stop bits, no flow
// control. Every call that touches the device holds the port's mutex, so the
// window thread may change the line while the link's worker reads and writes.
// Failures return the errno value.
class SerialPort : public CardPort {
public:
    SerialPort() = default;
    SerialPort(const SerialPort&) = delete;
    SerialPort& operator=(const SerialPort&) = delete;
    ~SerialPort() override;

    // Opens without blocking and locks the device against every other opener that
    // takes the lock (EBUSY while another holds it).
    int Open(const QString& path);
    // Closes, which releases the lock; the device can be opened again by anyone.
    void Close() override;
    bool IsOpen() const override;
    int Descriptor() const override;

    // Reads return immediately with what has arrived.
    int SetNonBlocking() override;
    // Checks that the device's line settings can be read at all.
    int ReadLineSettings() override;
    // Waits for the driver's output queue to empty (tcdrain).
    int Drain() override;
    // Raw 8O2 at the given rate, DTR raised and RTS lowered where the device has modem lines.
    int SetBaudRate(int baud) override;
    int LineControl(LineFunction function) override;

    // -1 with errno set on failure, as read(2) and write(2).
    ssize_t Read(char* buffer, size_t size) override;
    ssize_t Write(const quint8* bytes, size_t count) override;

    // The system's text for an errno value.
    QString ErrorText(int error) const override;

private:
    mutable std::mutex m_lock;
    int m_fd = -1;
};
