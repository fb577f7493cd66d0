#include "line/StatusChannel.h"

#include "base/KestrinError.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

StatusChannel::StatusChannel()
{
    int ends[2] = {-1, -1};
    if (pipe2(ends, O_CLOEXEC) != 0)
        throw KestrinError(QStringLiteral("no pipe for a card's run (%1)").arg(QString::fromLocal8Bit(std::strerror(errno))));
    m_read = ends[0];
    m_write = ends[1];
    fcntl(m_read, F_SETFL, O_NONBLOCK);
    m_notifier = std::make_unique<QSocketNotifier>(m_read, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &StatusChannel::ReadAll);
}

StatusChannel::~StatusChannel()
{
    m_notifier.reset();
    CloseWritingEnd();
    ::close(m_read);
}

void StatusChannel::CloseWritingEnd()
{
    if (m_write >= 0)
        ::close(m_write);
    m_write = -1;
}

void StatusChannel::ReadAll()
{
    std::array<char, 4096> chunk;
    ssize_t count = 0;
    while ((count = ::read(m_read, chunk.data(), chunk.size())) > 0 || (count < 0 && errno == EINTR))
        if (count > 0)
            m_open.append(chunk.data(), count);
    if (count == 0) // the end: no run holds the pipe any more
        m_notifier->setEnabled(false);
    for (qsizetype end = m_open.indexOf('\n'); end >= 0; end = m_open.indexOf('\n')) {
        const QString line = QString::fromUtf8(m_open.left(end));
        m_open.remove(0, end + 1);
        emit Line(line);
    }
}
