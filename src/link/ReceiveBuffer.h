#pragma once

#include "link/LinkTimeline.h"

#include <QByteArray>
#include <functional>
#include <mutex>

// What the link's worker leaves for the window thread: received bytes, decoded,
// and the link's events not yet in its timeline. One lock guards both. Every
// event takes its time inside it, so the events stand in their real order and
// their times never go back, whichever thread recorded them.
class ReceiveBuffer {
public:
    // Keeps the bytes and records them as one chunk received now. True when
    // nothing was waiting before: the window must be told.
    bool Append(const QByteArray& bytes);
    // Records bytes the worker has just written; true as for Append.
    bool RecordSent(QByteArrayView bytes);
    // Records an event of the window thread's: `add` is given the time now.
    void Record(const std::function<void(LinkTimeline&, qint64 timeNs)>& add);
    // Events are recorded unless switched off (then they are dropped).
    void SetRecording(bool on);

    // Up to `most` bytes, oldest first; `more` tells whether any are left. The
    // events recorded so far move to the end of `timeline` in the same step, so
    // whatever is recorded later tells the window again.
    QByteArray Take(qsizetype most, bool& more, LinkTimeline& timeline);
    // Moves the events recorded so far to the end of `timeline`.
    void TakeEvents(LinkTimeline& timeline);
    // No received bytes wait.
    bool IsEmpty() const;

private:
    bool NothingWaiting() const { return m_bytes.isEmpty() && m_events.IsEmpty(); }

    mutable std::mutex m_lock;
    QByteArray m_bytes;
    LinkTimeline m_events;
    bool m_recording = true;
};
