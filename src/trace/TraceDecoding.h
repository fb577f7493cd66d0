#pragma once

#include "link/LinkTimeline.h"
#include "trace/T0Decoder.h"
#include "trace/TraceTiming.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <mutex>
#include <thread>

// How far the decoding has come: the events decoded, the rows, and the first
// row that later events may still change (the rows still growing and those of
// the exchange under way, whose header row names its status word once it comes).
struct DecodingProgress {
    qsizetype events = 0;
    int rows = 0;
    int firstUnsettledRow = 0;
    int rereads = 0; // times the rows so far were replaced by another reading of them
};

// The trace and its timing as the decoding has them, held still while the look
// lasts. One look at a time on a thread: a second one there would wait forever.
class TraceLook {
public:
    TraceLook(std::unique_lock<std::mutex> lock, const Trace& trace, const TraceTiming& timing)
        : m_lock(std::move(lock)), m_trace(trace), m_timing(timing)
    {
    }

    const Trace& trace() const { return m_trace; }
    const TraceTiming& timing() const { return m_timing; }

private:
    std::unique_lock<std::mutex> m_lock;
    const Trace& m_trace;
    const TraceTiming& m_timing;
};

// Decodes the events of a card link as T=0 on a thread of its own, so that the
// thread handing them over never waits for the decoding. The trace grows there
// a short step at a time under one lock, which looks, hand-overs and questions
// take too; whoever waits for it goes before the next step, so none waits longer
// than a step. The thread never waits for its owner, and ends with the object.
class TraceDecoding {
public:
    // `caughtUp` is called on the decoding's thread whenever it has decoded every
    // event handed over.
    explicit TraceDecoding(std::function<void()> caughtUp = {});
    ~TraceDecoding();

    // Events to decode after those handed over before.
    void Hand(LinkTimeline events);
    // Waits up to `wait` for every event handed over to be decoded.
    DecodingProgress Progress(std::chrono::milliseconds wait) const;
    TraceLook Look() const;

private:
    void Run();
    void Decode(std::unique_lock<std::mutex>& lock, const LinkTimeline& events);
    // The lock, taken before the decoding's next step.
    std::unique_lock<std::mutex> LockFirst() const;
    DecodingProgress ProgressNow() const;

    mutable std::mutex m_lock;
    std::condition_variable m_work;             // events came, or the decoding ends
    mutable std::condition_variable m_progress; // a step was decoded, or nobody waits for the lock now
    mutable std::atomic<int> m_waiting = 0;     // threads waiting for the lock
    std::deque<LinkTimeline> m_inbox;
    qsizetype m_handed = 0;
    qsizetype m_decoded = 0;
    bool m_stopping = false;
    const std::function<void()> m_caughtUp;
    T0Decoder m_decoder;
    std::thread m_thread; // last: it starts once the rest is made
};
