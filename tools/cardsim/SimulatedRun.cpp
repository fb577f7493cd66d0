#include "SimulatedRun.h"

SimulatedRun::SimulatedRun(qint64 wallClockNs) : m_wallClockNs(wallClockNs) {}

void SimulatedRun::Open(const QByteArray& atr)
{
    m_timeline.AddOpened(m_now, m_wallClockNs + m_now);
    m_session.reset();
    m_now += ByteNs * atr.size();
    m_timeline.AddReceived(m_now, atr);
}

void SimulatedRun::Close()
{
    m_timeline.AddClosed(m_now);
}

void SimulatedRun::Send(const QByteArray& bytes)
{
    for (char byte : bytes) {
        m_now += ByteNs / 10;
        m_timeline.AddSent(m_now, QByteArrayView(&byte, 1));
        m_now += ByteNs;
        if (m_echo)
            m_timeline.AddReceived(m_now, QByteArrayView(&byte, 1));
        const QByteArray reply = m_session.feed(quint8(byte));
        if (!reply.isEmpty()) {
            m_now += ByteNs * reply.size();
            m_timeline.AddReceived(m_now, reply);
        }
    }
}
