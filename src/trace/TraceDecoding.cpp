#include "trace/TraceDecoding.h"

#include <algorithm>

namespace {

// Events decoded between chances for others to take the lock: a few
// microseconds of work, since a view's paint may take the lock for each cell.
constexpr qsizetype StepEvents = 32;

} // namespace

TraceDecoding::TraceDecoding(std::function<void()> caughtUp)
    : m_caughtUp(std::move(caughtUp)), m_thread([this] { Run(); })
{
}

TraceDecoding::~TraceDecoding()
{
    {
        const std::unique_lock lock = LockFirst();
        m_stopping = true;
    }
    m_work.notify_all();
    m_progress.notify_all();
    m_thread.join();
}

void TraceDecoding::Hand(LinkTimeline events)
{
    if (events.IsEmpty())
        return;
    {
        const std::unique_lock lock = LockFirst();
        m_handed += events.Size();
        m_inbox.push_back(std::move(events));
    }
    m_work.notify_all();
}

DecodingProgress TraceDecoding::Progress(std::chrono::milliseconds wait) const
{
    std::unique_lock lock = LockFirst();
    m_progress.wait_for(lock, wait, [this] { return m_decoded == m_handed; });
    return ProgressNow();
}

TraceLook TraceDecoding::Look() const { return TraceLook(LockFirst(), m_decoder.Current(), m_decoder.Timing()); }

DecodingProgress TraceDecoding::ProgressNow() const
{
    const int rows = int(m_decoder.Current().rows.size());
    return {m_decoded, rows, std::clamp(int(m_decoder.FirstUnsettledRow()), 0, rows), m_decoder.Rereads()};
}

std::unique_lock<std::mutex> TraceDecoding::LockFirst() const
{
    ++m_waiting;
    std::unique_lock lock(m_lock);
    if (--m_waiting == 0)
        m_progress.notify_all(); // the decoding may take its next step once this lock is free
    return lock;
}

void TraceDecoding::Run()
{
    std::unique_lock lock(m_lock);
    while (true) {
        m_work.wait(lock, [this] { return m_stopping || !m_inbox.empty(); });
        if (m_stopping)
            return;
        const LinkTimeline events = std::move(m_inbox.front());
        m_inbox.pop_front();
        Decode(lock, events);
        if (m_decoded == m_handed && m_caughtUp) {
            lock.unlock();
            m_caughtUp();
            lock.lock();
        }
    }
}

void TraceDecoding::Decode(std::unique_lock<std::mutex>& lock, const LinkTimeline& events)
{
    for (qsizetype next = 0; next < events.Size() && !m_stopping; next += StepEvents) {
        const qsizetype end = std::min(events.Size(), next + StepEvents);
        for (qsizetype index = next; index < end; ++index)
            m_decoder.Add(events.At(index));
        m_decoded += end - next;
        m_progress.notify_all();
        m_progress.wait(lock, [this] { return m_stopping || m_waiting == 0; });
    }
}
