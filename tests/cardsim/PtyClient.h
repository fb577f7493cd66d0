#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>

// A tiny serial client of the simulator's device: opened raw at 9600 baud with
// 8 data bits, odd parity and 2 stop bits, as the program opens its port.
// It reads and writes line bytes (inverse convention) as they are.
class PtyClient {
public:
    explicit PtyClient(const QString& path);
    ~PtyClient();
    PtyClient(const PtyClient&) = delete;
    PtyClient& operator=(const PtyClient&) = delete;

    bool isOpen() const { return m_fd >= 0; }
    void close();
    void write(const QByteArray& lineBytes);
    // Reads until `count` bytes have come or nothing comes for `quiet`.
    QByteArray read(qsizetype count, std::chrono::milliseconds quiet = std::chrono::seconds(5));
    // The poll() events and read() result once the simulator has hung up.
    short pollEvents() const;
    long readOnce();

private:
    int m_fd = -1;
};

// Line bytes of decoded hexadecimal bytes, and the other way round.
QByteArray Line(const char* hex);
QByteArray Decoded(QByteArray lineBytes);
