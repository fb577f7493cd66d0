#include "VpcdSimulator.h"

#include "VpcdSocket.h"

#include <array>
#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <system_error>

namespace {

using namespace std::chrono_literals;

// How often a driver that is not listening yet is tried again.
constexpr auto kRetry = 100ms;

} // namespace

VpcdSimulator::VpcdSimulator(quint16 port, const QByteArray& atr)
    : m_port(port), m_wake(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
    m_card.atr = atr;
    if (m_wake.get() < 0)
        throw std::system_error(errno, std::generic_category(), "eventfd");
    m_thread = std::thread([this] { run(); });
}

VpcdSimulator::~VpcdSimulator()
{
    {
        std::lock_guard lock(m_mutex);
        m_stop = true;
    }
    eventfd_write(m_wake.get(), 1);
    m_thread.join();
}

void VpcdSimulator::setAtr(const QByteArray& atr)
{
    std::lock_guard lock(m_mutex);
    m_card.atr = atr;
}

void VpcdSimulator::setCard(std::unique_ptr<T0Card> card)
{
    std::lock_guard lock(m_mutex);
    m_card.use(std::move(card));
}

void VpcdSimulator::setLogger(Logger logger)
{
    std::lock_guard lock(m_mutex);
    m_card.logger = std::move(logger);
}

void VpcdSimulator::setInserted(bool inserted)
{
    {
        std::lock_guard lock(m_mutex);
        m_inserted = inserted;
        m_card.log(inserted ? QStringLiteral("card inserted") : QStringLiteral("card pulled out"));
    }
    eventfd_write(m_wake.get(), 1);
}

bool VpcdSimulator::inserted() const
{
    std::lock_guard lock(m_mutex);
    return m_inserted;
}

int VpcdSimulator::connections() const
{
    std::lock_guard lock(m_mutex);
    return m_connections;
}

bool VpcdSimulator::waitForConnections(int count, std::chrono::milliseconds timeout) const
{
    std::unique_lock lock(m_mutex);
    return m_changed.wait_for(lock, timeout, [&] { return m_connections >= count; });
}

void VpcdSimulator::run()
{
    for (;;) {
        if (inserted())
            connectAndServe();
        if (!wait(-1, inserted() ? kRetry : -1ms)) // pulled out: until it is inserted
            return;
    }
}

// The connection is closed before the simulator waits again: for the reader, the
// card has gone.
void VpcdSimulator::connectAndServe()
{
    const UniqueFd connection = VpcdSocket::Connect(m_port);
    if (connection.get() < 0)
        return;
    {
        std::lock_guard lock(m_mutex);
        ++m_connections;
        m_card.log(QStringLiteral("connected to the virtual reader on port %1").arg(m_port));
    }
    m_changed.notify_all();
    serve(connection);
    log(QStringLiteral("connection to the virtual reader ended"));
}

void VpcdSimulator::serve(const UniqueFd& connection)
{
    QByteArray pending;
    while (wait(connection.get(), -1ms) && inserted()) {
        std::array<char, 4096> chunk;
        // Without waiting: the wake-up may have come with nothing to read.
        const ssize_t count = ::recv(connection.get(), chunk.data(), chunk.size(), MSG_DONTWAIT);
        if (count < 0 && (errno == EINTR || errno == EAGAIN))
            continue;
        if (count <= 0)
            return;
        pending.append(chunk.data(), count);
        if (!answer(connection, pending))
            return;
    }
}

// Answers every whole message that has arrived; false when the connection broke.
bool VpcdSimulator::answer(const UniqueFd& connection, QByteArray& pending)
{
    while (const std::optional<QByteArray> message = Vpcd::TakeMessage(pending)) {
        std::optional<QByteArray> reply;
        {
            std::lock_guard lock(m_mutex);
            reply = Vpcd::Answer(m_card, *message);
        }
        if (reply && !VpcdSocket::Send(connection.get(), Vpcd::Frame(*reply)))
            return false;
    }
    return true;
}

bool VpcdSimulator::wait(int fd, std::chrono::milliseconds limit)
{
    std::array<pollfd, 2> fds{{{m_wake.get(), POLLIN, 0}, {fd, POLLIN, 0}}};
    ::poll(fds.data(), fds.size(), int(limit.count()));
    if (fds[0].revents != 0) {
        eventfd_t ignored = 0;
        eventfd_read(m_wake.get(), &ignored);
    }
    std::lock_guard lock(m_mutex);
    return !m_stop;
}

void VpcdSimulator::log(const QString& line)
{
    std::lock_guard lock(m_mutex);
    m_card.log(line);
}
