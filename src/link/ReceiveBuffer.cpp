#include "link/ReceiveBuffer.h"

#include <chrono>

qint64 ReceiveBuffer::NowNs()
{
    return std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

bool ReceiveBuffer::Append(const QByteArray& bytes)
{
    std::lock_guard guard(m_lock);
    m_bytes.append(bytes);
    if (m_recording)
        m_events.AddReceived(NowNs(), bytes);
    return TellWindow();
}

bool ReceiveBuffer::RecordSent(QByteArrayView bytes)
{
    std::lock_guard guard(m_lock);
    if (!m_recording)
        return false;
    m_events.AddSent(NowNs(), bytes);
    return TellWindow();
}

bool ReceiveBuffer::AddNote(const ReaderNote& note)
{
    std::lock_guard guard(m_lock);
    m_notes.append(note);
    if (m_recording)
        m_events.AddReaderNote(NowNs(), quint8(note.kind), note.bytes);
    return TellWindow();
}

QList<ReaderNote> ReceiveBuffer::TakeNotes()
{
    std::lock_guard guard(m_lock);
    return std::exchange(m_notes, {});
}

void ReceiveBuffer::Record(const std::function<void(LinkTimeline&, qint64)>& add, qint64 askedNs)
{
    std::lock_guard guard(m_lock);
    if (!m_recording)
        return;
    // The window thread takes no events while it carries the event out, so all
    // recorded since are still here.
    qsizetype since = m_events.Size();
    while (since > 0 && m_events.At(since - 1).timeNs > askedNs)
        --since;
    const LinkTimeline later = m_events.TakeFrom(since);
    add(m_events, askedNs);
    m_events.Append(later);
}

void ReceiveBuffer::SetRecording(bool on)
{
    std::lock_guard guard(m_lock);
    m_recording = on;
}

QByteArray ReceiveBuffer::Take(qsizetype most, bool& more, LinkTimeline& timeline)
{
    LinkTimeline events;
    QByteArray slice;
    {
        std::lock_guard guard(m_lock);
        slice = m_bytes.first(std::min(most, m_bytes.size()));
        m_bytes.remove(0, slice.size());
        more = !m_bytes.isEmpty();
        m_windowTold = more;
        std::swap(events, m_events);
    }
    timeline.Append(events);
    return slice;
}

void ReceiveBuffer::TakeEvents(LinkTimeline& timeline)
{
    LinkTimeline events;
    {
        std::lock_guard guard(m_lock);
        std::swap(events, m_events);
    }
    timeline.Append(events);
}
