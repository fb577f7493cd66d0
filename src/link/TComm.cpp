#include "link/TComm.h"

#include "link/InvertBytes.h"
#include "link/CardPort.h"

#include <algorithm>
#include <cerrno>
#include <poll.h>
#include <sys/eventfd.h>
#include <unistd.h>

namespace {
constexpr size_t ReadChunk = 4096;
} // namespace

TComm::TComm(CardPort& port, ReceiveBuffer& received)
    : m_port(port), m_received(received), m_wake(eventfd(0, EFD_NONBLOCK | EFD_CLOEXEC))
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
    bool lineKept = true;
    while (!m_stop && (lineKept = PollOnce())) {
    }
    if (lineKept)
        WriteWhatWaits();
    m_running = false;
}

// Writes what waits, then waits once for the port or a wake-up, or only looks
// while written bytes are followed by more; false once the line is lost.
bool TComm::PollOnce()
{
    const WriteResult written = WriteWaiting();
    if (written == WriteResult::Lost)
        return false;
    const bool blocked = written == WriteResult::Blocked;
    // A full line wakes the worker when it takes more; an empty queue, by the put that follows.
    const bool sleep = blocked || m_queue.Sleep();
    pollfd fds[2] = {{m_port.Descriptor(), short(POLLIN | (blocked ? POLLOUT : 0)), 0}, {m_wake, POLLIN, 0}};
    const int ready = poll(fds, 2, sleep ? -1 : 0);
    m_queue.Awake();
    if (ready < 0) {
        if (errno == EINTR)
            return true;
        emit LineLost(errno);
        return false;
    }
    if (fds[1].revents)
        DrainWake();
    if (m_stop)
        return true;
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
    return true;
}

void TComm::Announce() { emit Recorded(); }

// Reads what has arrived and hands it over.
TComm::ReadResult TComm::ReadAvailable()
{
    char buffer[ReadChunk];
    const ssize_t count = PortCall([&] { return m_port.Read(buffer, sizeof buffer); });
    PassNotes(); // made before the bytes the read gave, or while they waited
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

// Writes the waiting bytes, as many as the line takes now; a full line keeps
// them for later. A byte whose write fails is dropped and reported.
TComm::WriteResult TComm::WriteWaiting()
{
    quint8 bytes[SendQueue::Capacity];
    const qsizetype count = m_queue.Peek(bytes);
    if (count == 0)
        return WriteResult::Written;
    const ssize_t written = PortCall([&] { return m_port.Write(bytes, size_t(count)); });
    if (written > 0) {
        RecordSent(bytes, written); // before the queue lets them go, as it happened
        Taken(written);
        return WriteResult::Written;
    }
    if (errno == EAGAIN || errno == EINTR)
        return WriteResult::Blocked;
    const int error = errno;
    Taken(1);
    if (error == EIO || error == ENXIO) { // the device has gone
        emit LineLost(error);
        return WriteResult::Lost;
    }
    emit WriteFailed();
    return WriteResult::Written;
}

// The bytes handed over before the stop leave as long as the line takes them.
void TComm::WriteWhatWaits()
{
    while (m_queue.Pending()) {
        const WriteResult written = WriteWaiting();
        if (written == WriteResult::Lost || (written == WriteResult::Blocked && !Writable(StopPatience)))
            return;
    }
}

bool TComm::Writable(std::chrono::milliseconds patience)
{
    pollfd fd{m_port.Descriptor(), POLLOUT, 0};
    return poll(&fd, 1, int(patience.count())) > 0 && (fd.revents & POLLOUT);
}

template <typename Call>
ssize_t TComm::PortCall(Call call)
{
    m_inPortCall = true;
    const ssize_t result = call();
    m_inPortCall = false;
    return result;
}

void TComm::Taken(qsizetype count)
{
    m_queue.Taken(count);
    if (m_queue.WindowWaited())
        Announce();
}

void TComm::PassNotes()
{
    for (const ReaderNote& note : m_port.TakeNotes()) {
        if (m_received.AddNote(note))
            Announce();
    }
}

void TComm::RecordSent(const quint8* bytes, qsizetype count)
{
    quint8 cardValues[SendQueue::Capacity];
    std::copy(bytes, bytes + count, cardValues);
    InvertBytes(cardValues, count);
    if (m_received.RecordSent(QByteArrayView(cardValues, count)))
        Announce();
}
