#include "link/TComm.h"

#include "link/InvertBytes.h"
#include "link/CardPort.h"

#include <cerrno>
#include <chrono>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {
constexpr size_t ReadChunk = 4096;
// After writing a byte the worker watches the mailbox this long before it blocks
// again, so a sender's next byte goes out without a thread wake-up.
constexpr std::chrono::microseconds NextByteWatch{50};
} // namespace

void Mailbox::Put(quint8 byte)
{
    m_byte.store(byte, std::memory_order_relaxed);
    m_pending.store(true, std::memory_order_release);
}

TComm::TComm(CardPort& port, Mailbox& mailbox, ReceiveBuffer& received)
    : m_port(port), m_mailbox(mailbox), m_received(received), m_wake(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
{
}

TComm::~TComm()
{
    Stop();
    wait();
    if (m_wake >= 0)
        ::close(m_wake);
}

void TComm::Stop()
{
    m_stop = true;
    Wake();
}

void TComm::Wake()
{
    const quint64 one = 1;
    [[maybe_unused]] const ssize_t written = ::write(m_wake, &one, sizeof one);
}

void TComm::DrainWake()
{
    quint64 count = 0;
    [[maybe_unused]] const ssize_t read = ::read(m_wake, &count, sizeof count);
}

void TComm::run()
{
    m_running = true;
    while (!m_stop && PollOnce()) {
    }
    m_running = false;
}

// One wait for the port or a wake-up; false when the worker must leave its loop.
bool TComm::PollOnce()
{
    const bool sending = m_mailbox.Pending();
    pollfd fds[2] = {{m_port.Descriptor(), short(POLLIN | (sending ? POLLOUT : 0)), 0}, {m_wake, POLLIN, 0}};
    if (poll(fds, 2, -1) < 0) {
        if (errno == EINTR)
            return true;
        emit LineLost(errno);
        return false;
    }
    if (fds[1].revents)
        DrainWake();
    if (m_stop)
        return false;
    const short events = fds[0].revents;
    if (events & (POLLIN | POLLHUP | POLLERR | POLLNVAL)) {
        const ReadResult result = ReadAvailable();
        if (result == ReadResult::Lost)
            return false;
        if (result == ReadResult::Nothing && (events & (POLLHUP | POLLERR | POLLNVAL))) {
            emit LineLost(events & POLLNVAL ? EBADF : EIO); // hung up, nothing left to read
            return false;
        }
    }
    return WriteWhilePending();
}

void TComm::Announce() { emit Recorded(); }

// Reads what has arrived and hands it over.
TComm::ReadResult TComm::ReadAvailable()
{
    char buffer[ReadChunk];
    const ssize_t count = m_port.Read(buffer, sizeof buffer);
    if (count > 0) {
        QByteArray bytes(buffer, count);
        InvertBytes(bytes);
        if (m_received.Append(bytes))
            Announce();
        return ReadResult::Data;
    }
    if (count < 0 && (errno == EAGAIN || errno == EINTR))
        return ReadResult::Nothing;
    emit LineLost(count == 0 ? EIO : errno);
    return ReadResult::Lost;
}

// Writes the mailbox's bytes as they come; false when the device has gone.
bool TComm::WriteWhilePending()
{
    while (m_mailbox.Pending() && !m_stop) {
        const WriteResult result = WritePending();
        if (result != WriteResult::Written)
            return result == WriteResult::Blocked;
        if (!NextByteSoon())
            break;
    }
    return true;
}

// A byte whose write fails is dropped and reported; a full line keeps it for later.
TComm::WriteResult TComm::WritePending()
{
    const quint8 byte = m_mailbox.Byte();
    if (m_port.Write(byte) == 1) {
        const char written = char(InvertByte(byte)); // recorded before the mailbox frees, as it happened
        if (m_received.RecordSent(QByteArrayView(&written, 1)))
            Announce();
        m_mailbox.Taken();
        return WriteResult::Written;
    }
    if (errno == EAGAIN || errno == EINTR)
        return WriteResult::Blocked;
    const int error = errno;
    m_mailbox.Taken();
    if (error == EIO || error == ENXIO) { // the device has gone
        emit LineLost(error);
        return WriteResult::Lost;
    }
    emit WriteFailed();
    return WriteResult::Written;
}

bool TComm::NextByteSoon() const
{
    const auto until = std::chrono::steady_clock::now() + NextByteWatch;
    while (std::chrono::steady_clock::now() < until)
        if (m_mailbox.Pending() || m_stop)
            return true;
    return false;
}
