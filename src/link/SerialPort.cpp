#include "link/SerialPort.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

speed_t SpeedFor(int baud)
{
    switch (baud) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
    }
}

// Raw bytes with the card line's framing. Parity is generated but not checked,
// so a byte that arrives with a parity error is passed on as received. With the
// descriptor non-blocking and VMIN 1, a read with nothing waiting fails with
// EAGAIN, and a read of 0 bytes means the device hung up.
void MakeCardLine(termios& settings)
{
    cfmakeraw(&settings);
    settings.c_iflag &= ~(IXON | IXOFF | IXANY | INPCK | IGNPAR | PARMRK);
    settings.c_cflag &= ~(CSIZE | CRTSCTS);
    settings.c_cflag |= CS8 | PARENB | PARODD | CSTOPB | CREAD | CLOCAL;
    settings.c_cc[VMIN] = 1;
    settings.c_cc[VTIME] = 0;
}

// A device without modem lines (a pseudo-terminal) refuses these; that is no fault.
bool LacksModemLines(int error) { return error == ENOTTY || error == EINVAL; }

// A pseudo-terminal keeps no parity bit, and the C library then refuses (EINVAL)
// a setting that is otherwise in place already; such a line is as wanted.
bool InPlaceApartFromParity(int fd, const termios& wanted)
{
    termios actual{};
    return tcgetattr(fd, &actual) == 0 && (actual.c_cflag | PARENB) == (wanted.c_cflag | PARENB)
           && actual.c_iflag == wanted.c_iflag && actual.c_lflag == wanted.c_lflag
           && actual.c_cc[VMIN] == wanted.c_cc[VMIN] && actual.c_cc[VTIME] == wanted.c_cc[VTIME];
}

int SetModemLine(int fd, unsigned long request, int line)
{
    return ioctl(fd, request, &line) == 0 ? 0 : errno;
}

} // namespace

SerialPort::~SerialPort() { Close(); }

int SerialPort::Open(const QString& path)
{
    std::lock_guard guard(m_lock);
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = isatty(fd) ? 0 : ENOTTY;
    // The lock keeps out every other opener that takes it, as serial tools do,
    // root included, and the kernel drops it however the program ends. Exclusive
    // mode (TIOCEXCL) is not used: it belongs to the device, and after a kill or
    // a crash it would keep every user but root out until the device goes away.
    if (error == 0 && flock(fd, LOCK_EX | LOCK_NB) != 0)
        error = errno == EWOULDBLOCK ? EBUSY : errno;
    if (error != 0) {
        ::close(fd);
        return error;
    }
    m_fd = fd;
    return 0;
}

void SerialPort::Close()
{
    std::lock_guard guard(m_lock);
    if (m_fd < 0)
        return;
    ::close(m_fd);
    m_fd = -1;
}

bool SerialPort::IsOpen() const
{
    std::lock_guard guard(m_lock);
    return m_fd >= 0;
}

int SerialPort::Descriptor() const
{
    std::lock_guard guard(m_lock);
    return m_fd;
}

int SerialPort::SetNonBlocking()
{
    std::lock_guard guard(m_lock);
    const int flags = fcntl(m_fd, F_GETFL);
    return flags >= 0 && fcntl(m_fd, F_SETFL, flags | O_NONBLOCK) == 0 ? 0 : errno;
}

int SerialPort::ReadLineSettings()
{
    std::lock_guard guard(m_lock);
    termios settings{};
    return tcgetattr(m_fd, &settings) == 0 ? 0 : errno;
}

int SerialPort::Drain()
{
    std::lock_guard guard(m_lock);
    while (tcdrain(m_fd) != 0)
        if (errno != EINTR)
            return errno;
    return 0;
}

int SerialPort::SetBaudRate(int baud)
{
    std::lock_guard guard(m_lock);
    termios settings{};
    if (tcgetattr(m_fd, &settings) != 0)
        return errno;
    MakeCardLine(settings);
    const speed_t speed = SpeedFor(baud);
    if (speed == B0)
        return EINVAL;
    if (cfsetispeed(&settings, speed) != 0 || cfsetospeed(&settings, speed) != 0)
        return errno;
    if (tcsetattr(m_fd, TCSANOW, &settings) != 0) {
        const int error = errno;
        if (error != EINVAL || !InPlaceApartFromParity(m_fd, settings))
            return error;
    }
    for (const int error : {SetModemLine(m_fd, TIOCMBIS, TIOCM_DTR), SetModemLine(m_fd, TIOCMBIC, TIOCM_RTS)})
        if (error != 0 && !LacksModemLines(error))
            return error;
    return 0;
}

int SerialPort::LineControl(LineFunction function)
{
    std::lock_guard guard(m_lock);
    switch (function) {
    case LineFunction::SetRts: return SetModemLine(m_fd, TIOCMBIS, TIOCM_RTS);
    case LineFunction::ClrRts: return SetModemLine(m_fd, TIOCMBIC, TIOCM_RTS);
    case LineFunction::SetDtr: return SetModemLine(m_fd, TIOCMBIS, TIOCM_DTR);
    case LineFunction::ClrDtr: return SetModemLine(m_fd, TIOCMBIC, TIOCM_DTR);
    case LineFunction::SetBreak: return ioctl(m_fd, TIOCSBRK) == 0 ? 0 : errno;
    case LineFunction::ClrBreak: return ioctl(m_fd, TIOCCBRK) == 0 ? 0 : errno;
    }
    return EINVAL;
}

ssize_t SerialPort::Read(char* buffer, size_t size)
{
    std::lock_guard guard(m_lock);
    return ::read(m_fd, buffer, size);
}

ssize_t SerialPort::Write(const quint8* bytes, size_t count)
{
    std::lock_guard guard(m_lock);
    return ::write(m_fd, bytes, count);
}

QString SerialPort::ErrorText(int error) const
{
    return QString::fromLocal8Bit(std::strerror(error));
}
