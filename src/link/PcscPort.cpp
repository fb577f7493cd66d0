#include "link/PcscPort.h"

#include "link/InvertBytes.h"
#include "link/ReaderWatch.h"

#include <cerrno>
#include <cstring>
#include <sys/timerfd.h>
#include <unistd.h>

namespace {

QByteArray LineBytes(QByteArray bytes)
{
    InvertBytes(bytes);
    return bytes;
}

timespec MonotonicTime(T0Emulation::Clock::time_point when)
{
    const auto since = when.time_since_epoch();
    const auto seconds = std::chrono::duration_cast<std::chrono::seconds>(since);
    return {time_t(seconds.count()), long(std::chrono::nanoseconds(since - seconds).count())};
}

} // namespace

// steady_clock is CLOCK_MONOTONIC on Linux, the clock the timer runs on.
static_assert(T0Emulation::Clock::is_steady);

PcscPort::PcscPort() = default;

PcscPort::~PcscPort() { Close(); }

int PcscPort::Open(const QString& reader, bool echo)
{
    const int timer = timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (timer < 0)
        return errno;
    std::lock_guard stream(m_streamLock);
    {
        // Before the watch starts: a loss it reports from then on must stay.
        std::lock_guard guard(m_lock);
        m_failure = 0;
    }
    m_stream.SetEcho(echo);
    try {
        m_reader.Connect(reader);
        m_readable = LineBytes(m_reader.Atr());
        m_watch = std::make_unique<ReaderWatch>(m_reader.ReaderName(), [this](long code) { Fail(code); });
    } catch (const PcscError& error) {
        m_reader.Disconnect();
        ::close(timer);
        std::lock_guard guard(m_lock);
        m_failure = error.Code();
        return EIO;
    }
    std::lock_guard guard(m_lock);
    m_timer = timer;
    m_somethingWaits = true;
    Arm();
    return 0;
}

void PcscPort::Close()
{
    m_watch.reset(); // before the lock: its last report may be waiting for it
    std::lock_guard stream(m_streamLock);
    m_reader.Disconnect();
    m_readable.clear();
    m_notes.clear();
    std::lock_guard guard(m_lock);
    if (m_timer >= 0)
        ::close(m_timer);
    m_timer = -1;
}

bool PcscPort::IsOpen() const { return Descriptor() >= 0; }

int PcscPort::Descriptor() const
{
    std::lock_guard guard(m_lock);
    return m_timer;
}

// Carried out at once, as a serial driver sets its lines: a reset is done and
// its ATR ready to read when the call returns, however long the reader takes.
int PcscPort::LineControl(LineFunction function)
{
    std::lock_guard stream(m_streamLock);
    CatchUp();
    Run([this, function] { m_stream.LineControl(function); });
    Publish();
    return 0;
}

// Bytes ready go first: the echo of a command's last byte is taken before the
// card is asked, as a serial interface gives it at once.
ssize_t PcscPort::Read(char* buffer, size_t size)
{
    std::lock_guard stream(m_streamLock);
    if (m_readable.isEmpty())
        CatchUp();
    const qsizetype count = std::min(qsizetype(size), m_readable.size());
    std::memcpy(buffer, m_readable.constData(), size_t(count));
    m_readable.remove(0, count);
    const bool failed = Publish();
    if (count > 0)
        return count;
    errno = failed ? EIO : EAGAIN;
    return -1;
}

// Bytes the card has given are read before more is written, and a command that
// is complete ends the write, so the worker takes each answer as soon as it comes.
ssize_t PcscPort::Write(const quint8* bytes, size_t count)
{
    std::lock_guard stream(m_streamLock);
    CatchUp();
    if (!m_readable.isEmpty()) {
        Publish();
        errno = EAGAIN;
        return -1;
    }
    size_t written = 0;
    do
        Run([this, byte = bytes[written++]] { m_stream.Send(InvertByte(byte), T0Emulation::Clock::now()); });
    while (written < count && !m_stream.CommandDue());
    Publish();
    return ssize_t(written);
}

QList<ReaderNote> PcscPort::TakeNotes()
{
    std::lock_guard stream(m_streamLock);
    const QList<ReaderNote> notes = std::exchange(m_notes, {});
    Publish();
    return notes;
}

QString PcscPort::ErrorText(int error) const
{
    std::lock_guard guard(m_lock);
    if (error == EIO && m_failure != 0)
        return QString::fromUtf8(PcscError(m_failure).what());
    return QString::fromLocal8Bit(std::strerror(error));
}

template <typename Step>
void PcscPort::Run(Step step)
{
    {
        std::lock_guard guard(m_lock);
        if (m_failure != 0)
            return;
    }
    try {
        step();
    } catch (const PcscError& error) {
        Fail(error.Code());
    }
    m_readable += LineBytes(m_stream.TakeReceived());
    m_notes += m_stream.TakeNotes();
}

// What is due before anything else: the command completed before, or an unknown
// instruction's header whose wait is over.
void PcscPort::CatchUp()
{
    Run([this] { m_stream.Idle(T0Emulation::Clock::now()); });
}

bool PcscPort::Publish()
{
    std::lock_guard guard(m_lock);
    m_somethingWaits = !m_readable.isEmpty() || !m_notes.isEmpty();
    m_deadline = m_stream.Deadline();
    Arm();
    return m_failure != 0;
}

void PcscPort::Fail(long code)
{
    std::lock_guard guard(m_lock);
    if (m_failure == 0)
        m_failure = code;
    Arm();
}

void PcscPort::Arm()
{
    if (m_timer < 0)
        return;
    itimerspec when{}; // all zero: disarmed
    if (m_somethingWaits || m_failure != 0)
        when.it_value.tv_nsec = 1; // long past: due at once
    else if (m_deadline)
        when.it_value = MonotonicTime(*m_deadline);
    timerfd_settime(m_timer, TFD_TIMER_ABSTIME, &when, nullptr);
}
