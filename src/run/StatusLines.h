#pragma once

#include "run/RunStop.h"

#include <QByteArray>
#include <QString>

// What a run tells a program that supervises it (--status-fd), a line at a time
// as it happens: "atr 3F 65 ..." once the card's answer to reset is complete,
// "item N" as the Nth item (from 1) starts, and at the end "end STATUS WHY"
// with the exit status and the reason the run stopped early, if it did. Nothing
// without a descriptor; a descriptor that cannot be written is given up.
class StatusLines {
public:
    explicit StatusLines(int fd) : m_fd(fd) {}

    void Atr(const QByteArray& atr);
    void Item(qsizetype number);
    void End(ExitStatus status, const QString& why);

private:
    void Write(const QString& line);

    int m_fd;
};
