#pragma once

#include "link/LineFunction.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QtEndian>
#include <limits>

// What happened on the card link, in order: bytes sent, chunks received, the
// port opened and closed, baud-rate changes and line-control actions.
enum class LinkEventKind : quint8 {
    Sent,        // bytes: card values the worker wrote
    Received,    // bytes: card values read in one chunk
    Opened,      // value: wall-clock time of the open, ns since 1970 (UTC)
    Closed,
    BaudChanged, // value: the new baud rate
    LineControl, // value: the LineFunction performed
    ReaderNote,  // value: the ReaderNoteKind; bytes: the note's bytes
};

// One event of a LinkTimeline, as a view into it.
struct LinkEvent {
    LinkEventKind kind = LinkEventKind::Closed;
    qint64 timeNs = 0;    // monotonic (steady clock) time of the event
    QByteArrayView bytes; // Sent, Received and ReaderNote only
    qint64 value = 0;     // Opened, BaudChanged, LineControl and ReaderNote only
};

// The events of a card link, flat in memory: one arena of payload bytes (the
// traffic, plus 8 bytes per open, 4 per baud change, 1 per line action and 1 more
// than its bytes per reader note) and
// per event a time, the end of its payload and its kind. A byte that travels
// alone costs 14 bytes; bytes in chunks cost less.
// Holds up to 4 GiB of payload; events beyond that are dropped and counted.
class LinkTimeline {
public:
    void AddSent(qint64 timeNs, QByteArrayView bytes) { Add(LinkEventKind::Sent, timeNs, bytes); }
    void AddReceived(qint64 timeNs, QByteArrayView bytes) { Add(LinkEventKind::Received, timeNs, bytes); }
    void AddOpened(qint64 timeNs, qint64 wallClockNs) { AddValue<qint64>(LinkEventKind::Opened, timeNs, wallClockNs); }
    void AddClosed(qint64 timeNs) { Add(LinkEventKind::Closed, timeNs, {}); }
    void AddBaudChanged(qint64 timeNs, int baud) { AddValue<qint32>(LinkEventKind::BaudChanged, timeNs, baud); }
    void AddLineControl(qint64 timeNs, LineFunction function)
    {
        AddValue<qint8>(LinkEventKind::LineControl, timeNs, qint8(function));
    }
    void AddReaderNote(qint64 timeNs, quint8 kind, QByteArrayView bytes)
    {
        Add(LinkEventKind::ReaderNote, timeNs, QByteArray(1, char(kind)).append(bytes));
    }

    // Adds the other timeline's events after these, in their order.
    void Append(const LinkTimeline& other)
    {
        m_dropped += other.m_dropped;
        if (m_payload.size() + other.m_payload.size() > qsizetype(std::numeric_limits<quint32>::max())) {
            m_dropped += other.Size();
            return;
        }
        const auto offset = quint32(m_payload.size());
        m_payload.append(other.m_payload);
        m_times.append(other.m_times);
        for (const quint32 end : other.m_ends)
            m_ends.append(offset + end);
        m_kinds.append(other.m_kinds);
    }

    // Removes the events from `index` on and gives them back, in their order.
    LinkTimeline TakeFrom(qsizetype index)
    {
        LinkTimeline tail;
        const quint32 begin = index == 0 ? 0 : m_ends[index - 1];
        tail.m_payload = m_payload.sliced(begin);
        tail.m_times = m_times.sliced(index);
        for (qsizetype i = index; i < Size(); ++i)
            tail.m_ends.append(m_ends[i] - begin);
        tail.m_kinds = m_kinds.sliced(index);
        m_payload.truncate(begin);
        m_times.resize(index);
        m_ends.resize(index);
        m_kinds.truncate(index);
        return tail;
    }

    // The events from `first` up to `last` (left out), as a timeline of their own.
    LinkTimeline Slice(qsizetype first, qsizetype last) const
    {
        LinkTimeline slice;
        const quint32 begin = first == 0 ? 0 : m_ends[first - 1];
        const quint32 end = last == 0 ? 0 : m_ends[last - 1];
        slice.m_payload = m_payload.sliced(begin, end - begin);
        slice.m_times = m_times.sliced(first, last - first);
        slice.m_ends.reserve(last - first);
        for (qsizetype i = first; i < last; ++i)
            slice.m_ends.append(m_ends[i] - begin);
        slice.m_kinds = m_kinds.sliced(first, last - first);
        return slice;
    }

    qsizetype Size() const { return m_times.size(); }
    bool IsEmpty() const { return m_times.isEmpty(); }
    qint64 Dropped() const { return m_dropped; }

    LinkEvent At(qsizetype index) const
    {
        const auto kind = LinkEventKind(m_kinds[index]);
        const qsizetype begin = index == 0 ? 0 : m_ends[index - 1];
        const QByteArrayView payload(m_payload.constData() + begin, m_ends[index] - begin);
        LinkEvent event{kind, m_times[index], {}, 0};
        if (kind == LinkEventKind::Sent || kind == LinkEventKind::Received)
            event.bytes = payload;
        else if (kind == LinkEventKind::ReaderNote)
            event = {kind, event.timeNs, payload.sliced(1), quint8(payload[0])};
        else if (payload.size() == 8)
            event.value = qFromLittleEndian<qint64>(payload.data());
        else if (payload.size() == 4)
            event.value = qFromLittleEndian<qint32>(payload.data());
        else if (payload.size() == 1)
            event.value = qint8(payload[0]);
        return event;
    }

    // The memory the events fill. The arrays' spare capacity is left out: a large
    // array grows by reallocation, and the system backs its unused end only once
    // it is written.
    qsizetype MemoryBytes() const
    {
        return Size() * qsizetype(sizeof(qint64) + sizeof(quint32) + 1) + m_payload.size();
    }

    void Clear() { *this = LinkTimeline(); }

private:
    void Add(LinkEventKind kind, qint64 timeNs, QByteArrayView payload)
    {
        if (m_payload.size() + payload.size() > qsizetype(std::numeric_limits<quint32>::max())) {
            ++m_dropped;
            return;
        }
        m_payload.append(payload);
        m_times.append(timeNs);
        m_ends.append(quint32(m_payload.size()));
        m_kinds.append(char(kind));
    }

    template <typename Stored>
    void AddValue(LinkEventKind kind, qint64 timeNs, qint64 value)
    {
        char bytes[sizeof(Stored)];
        qToLittleEndian<Stored>(Stored(value), bytes);
        Add(kind, timeNs, QByteArrayView(bytes, sizeof bytes));
    }

    QList<qint64> m_times;
    QList<quint32> m_ends; // end of each event's payload in m_payload
    QByteArray m_kinds;
    QByteArray m_payload;
    qint64 m_dropped = 0;
};
