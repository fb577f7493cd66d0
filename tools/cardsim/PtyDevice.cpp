#include "PtyDevice.h"

#include <array>
#include <cerrno>
#include <climits>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/inotify.h>
#include <system_error>
#include <termios.h>

namespace {

int Checked(int result, const char* what)
{
    if (result < 0)
        throw std::system_error(errno, std::generic_category(), what);
    return result;
}

} // namespace

PtyDevice::PtyDevice()
    : m_master(Checked(posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC), "posix_openpt"))
    , m_watch(Checked(inotify_init1(IN_NONBLOCK | IN_CLOEXEC), "inotify_init1"))
{
    Checked(grantpt(master()), "grantpt");
    Checked(unlockpt(master()), "unlockpt");
    std::array<char, PATH_MAX> name{};
    if (const int error = ptsname_r(master(), name.data(), name.size()))
        throw std::system_error(error, std::generic_category(), "ptsname_r");
    m_path = QString::fromLocal8Bit(name.data());
    Checked(inotify_add_watch(watch(), name.data(), IN_OPEN | IN_CLOSE), "inotify_add_watch");
    if (!unconfigure())
        throw std::system_error(errno, std::generic_category(), "tcsetattr");
}

PtyDevice::OpenChanges PtyDevice::takeOpenChanges()
{
    OpenChanges changes;
    alignas(inotify_event) std::array<char, 4096> buffer;
    ssize_t length = 0;
    while ((length = ::read(watch(), buffer.data(), buffer.size())) > 0) {
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer.data() + at);
            if ((event->mask & IN_OPEN) && m_openers++ == 0)
                changes.firstOpened = true;
            if ((event->mask & IN_CLOSE) && m_openers > 0 && --m_openers == 0)
                changes.lastClosed = true;
            at += ssize_t(sizeof(inotify_event) + event->len);
        }
    }
    return changes;
}

bool PtyDevice::configured() const
{
    termios settings{};
    if (tcgetattr(master(), &settings) != 0)
        return false;
    return (settings.c_cflag & CSTOPB) && (settings.c_cflag & PARODD);
}

bool PtyDevice::unconfigure()
{
    termios settings{};
    if (tcgetattr(master(), &settings) != 0)
        return false;
    cfmakeraw(&settings);
    settings.c_cflag &= ~tcflag_t(CSTOPB | PARODD | PARENB);
    settings.c_cflag |= CLOCAL | CREAD;
    return tcsetattr(master(), TCSANOW, &settings) == 0;
}

QByteArray PtyDevice::read()
{
    QByteArray bytes;
    std::array<char, 4096> buffer;
    ssize_t length = 0;
    while ((length = ::read(master(), buffer.data(), buffer.size())) > 0)
        bytes.append(buffer.data(), length);
    return bytes;
}

qsizetype PtyDevice::write(const QByteArray& bytes)
{
    const ssize_t written = ::write(master(), bytes.constData(), std::size_t(bytes.size()));
    return written > 0 ? written : 0;
}
