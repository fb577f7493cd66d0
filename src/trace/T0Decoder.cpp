#include "trace/T0Decoder.h"

#include <algorithm>

void T0Decoder::Add(const LinkEvent& event)
{
    Decode(event);
    m_reading.FollowTiming(event.timeNs);
    if (m_silentReading)
        m_silentReading->FollowTiming(event.timeNs);
}

void T0Decoder::Decode(const LinkEvent& event)
{
    switch (event.kind) {
    case LinkEventKind::Sent:
        for (char byte : event.bytes) {
            m_reading.Sent(event.timeNs, quint8(byte));
            if (m_silentReading)
                m_silentReading->Sent(event.timeNs, quint8(byte));
        }
        return;
    case LinkEventKind::Received:
        for (char byte : event.bytes)
            Receive(event.timeNs, quint8(byte));
        return;
    default:
        m_reading.PortEvent(event);
        if (m_silentReading)
            m_silentReading->PortEvent(event);
        Settle(event.kind == LinkEventKind::Opened || event.kind == LinkEventKind::Closed);
        return;
    }
}

void T0Decoder::Receive(qint64 timeNs, quint8 byte)
{
    if (!m_silentReading && m_reading.EchoInDoubt(timeNs, byte)) {
        m_doubtFrom = m_reading.FirstUnsettledRow();
        m_silentReading = m_reading;
        m_silentReading->Believe(T0Reading::EchoBelief::Silent);
        m_reading.Believe(T0Reading::EchoBelief::Echoes);
    }
    m_reading.Received(timeNs, byte);
    if (m_silentReading) {
        m_silentReading->Received(timeNs, byte);
        Settle(false);
    }
}

void T0Decoder::Settle(bool final)
{
    if (!m_silentReading)
        return;
    if (m_silentReading->Faults() < m_reading.Faults()) {
        m_reading = std::move(*m_silentReading);
        ++m_rereads;
    } else if (m_silentReading->Faults() == m_reading.Faults() && !final) {
        return;
    }
    m_silentReading.reset();
}

qint32 T0Decoder::FirstUnsettledRow() const
{
    const qint32 first = m_reading.FirstUnsettledRow();
    return m_silentReading ? std::min(first, m_doubtFrom) : first;
}

T0Decoder::Owed T0Decoder::Owes() const
{
    const Owed owed = m_reading.Owes();
    return owed == Owed::Nothing && m_silentReading ? m_silentReading->Owes() : owed;
}

Trace T0Decoder::Finish()
{
    m_reading.EndUnderWay(ExchangeEnd::TraceEnd);
    if (m_silentReading)
        m_silentReading->EndUnderWay(ExchangeEnd::TraceEnd);
    Settle(true);
    Trace trace = m_reading.Current();
    *this = T0Decoder();
    return trace;
}

Trace DecodeT0(const LinkTimeline& timeline)
{
    T0Decoder decoder;
    for (qsizetype i = 0; i < timeline.Size(); ++i)
        decoder.Add(timeline.At(i));
    return decoder.Finish();
}
