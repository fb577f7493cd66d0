#include "PtyClient.h"

#include "link/InvertBytes.h"

#include <QFile>
#include <gtest/gtest.h>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

PtyClient::PtyClient(const QString& path) : m_fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY))
{
    termios settings{};
    if (m_fd < 0 || tcgetattr(m_fd, &settings) != 0)
        return;
    cfmakeraw(&settings);
    settings.c_cflag |= PARENB | PARODD | CSTOPB | CS8 | CLOCAL | CREAD;
    cfsetspeed(&settings, B9600);
    tcsetattr(m_fd, TCSANOW, &settings);
}

PtyClient::~PtyClient()
{
    close();
}

void PtyClient::close()
{
    if (m_fd >= 0)
        ::close(m_fd);
    m_fd = -1;
}

void PtyClient::write(const QByteArray& lineBytes)
{
    ASSERT_EQ(::write(m_fd, lineBytes.constData(), std::size_t(lineBytes.size())), lineBytes.size());
}

QByteArray PtyClient::read(qsizetype count, std::chrono::milliseconds quiet)
{
    QByteArray bytes;
    char buffer[4096];
    while (bytes.size() < count) {
        pollfd fd{m_fd, POLLIN, 0};
        if (poll(&fd, 1, int(quiet.count())) <= 0)
            break;
        const ssize_t length = ::read(m_fd, buffer, std::size_t(std::min<qsizetype>(count - bytes.size(), sizeof buffer)));
        if (length <= 0)
            break;
        bytes.append(buffer, length);
    }
    return bytes;
}

short PtyClient::pollEvents() const
{
    pollfd fd{m_fd, POLLIN, 0};
    poll(&fd, 1, 0);
    return fd.revents;
}

long PtyClient::readOnce()
{
    char byte = 0;
    return long(::read(m_fd, &byte, 1));
}

QByteArray Line(const char* hex)
{
    QByteArray bytes = QByteArray::fromHex(hex);
    InvertBytes(bytes);
    return bytes;
}

QByteArray Decoded(QByteArray lineBytes)
{
    InvertBytes(lineBytes);
    return lineBytes;
}
