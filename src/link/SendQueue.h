#pragma once

#include <QtGlobal>
#include <array>
#include <atomic>

// The bytes handed to the link's worker, in order, until it has written them.
// One thread puts (the window's), one takes (the worker's); a byte leaves the
// queue only once written, so none is lost or repeated, and neither side ever
// waits for the other's lock. Each side tells the other when it waits: the
// worker before it sleeps (the put that finds it asleep tells its caller to
// wake it), the window before it waits for room or for the queue to empty (the
// worker's next write tells it to announce itself). So a stream of bytes costs a
// wake-up per queueful, not per byte, and neither side spins.
class SendQueue {
public:
    static constexpr qsizetype Capacity = 256;

    bool Pending() const { return Waiting() > 0; }
    bool Full() const { return Waiting() == Capacity; }
    // Appends a byte to a queue that is not full. True when the worker sleeps
    // and must be woken.
    bool Put(quint8 byte);

    // The worker: copies the waiting bytes (at most Capacity), oldest first,
    // and returns their count.
    qsizetype Peek(quint8* bytes) const;
    // The worker: the first `count` waiting bytes have been written.
    void Taken(qsizetype count);
    // The worker is about to sleep; false, and it stays awake, when bytes wait.
    bool Sleep();
    void Awake() { m_asleep.store(false); }
    // The window is about to wait for the worker's next write.
    void WindowWaits() { m_windowWaits.store(true); }
    // The worker, after a write: true when the window waits for one.
    bool WindowWaited() { return m_windowWaits.exchange(false); }

private:
    qsizetype Waiting() const { return qsizetype(m_put.load() - m_taken.load()); }

    std::array<quint8, Capacity> m_bytes{};
    std::atomic<quint64> m_put{0};   // bytes ever put; written by the window thread
    std::atomic<quint64> m_taken{0}; // bytes ever written; by the worker
    std::atomic<bool> m_asleep{false};
    std::atomic<bool> m_windowWaits{false};
};
