#pragma once

#include "link/LinkTimeline.h"
#include "link/ReaderNote.h"

#include <QByteArray>
#include <functional>
#include <mutex>
#include <utility>

// What the link's worker leaves for the window thread: received bytes, decoded,
// and the link's events not yet in its timeline. One lock guards both. Every
// event takes its time inside it, so the events stand in their real order and
// their times never go back, whichever thread recorded them.
class ReceiveBuffer {
public:
    // Keeps the bytes and records them as one chunk received now. True when the
    // window has not been told since it last took everything: it must be told now.
    bool Append(const QByteArray& bytes);
    // Records bytes the worker has just written; true as for Append.
    bool RecordSent(QByteArrayView bytes);
    // Keeps a note of the card interface's and records it now; true as for Append.
    bool AddNote(const ReaderNote& note);
    // The notes kept so far, oldest first; they are kept whether or not events are recorded.
    QList<ReaderNote> TakeNotes();
    // The clock of every event: monotonic, in nanoseconds.
    static qint64 NowNs();
    // Records an event of the window thread's asked for at `askedNs` (a NowNs()
    // taken before it was carried out): `add` is given that time, and the events
    // recorded since (what the port gave as it was carried out) follow it.
    void Record(const std::function<void(LinkTimeline&, qint64 timeNs)>& add, qint64 askedNs = NowNs());
    // Events are recorded unless switched off (then they are dropped).
    void SetRecording(bool on);

    // Up to `most` bytes, oldest first; `more` tells whether any are left (the
    // window, still told, takes them on its next turn). The events recorded so
    // far move to the end of `timeline` in the same step. Once nothing is left,
    // whatever comes later tells the window again.
    QByteArray Take(qsizetype most, bool& more, LinkTimeline& timeline);
    // Moves the events recorded so far to the end of `timeline`; the bytes stay,
    // and so does the window's telling of them.
    void TakeEvents(LinkTimeline& timeline);

private:
    // The window is told once until it takes everything; a take of events alone
    // leaves bytes waiting, so whether it was told is kept apart from what waits.
    bool TellWindow() { return !std::exchange(m_windowTold, true); }

    std::mutex m_lock;
    QByteArray m_bytes;
    QList<ReaderNote> m_notes;
    LinkTimeline m_events;
    bool m_recording = true;
    bool m_windowTold = false;
};
