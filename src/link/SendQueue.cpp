#include "link/SendQueue.h"

// The counters and the sleep flag are sequentially consistent: a worker that
// says it sleeps and then finds the queue empty cannot miss a put, because the
// put, made before it looks at the flag, then finds the flag set.

bool SendQueue::Put(quint8 byte)
{
    const quint64 put = m_put.load(std::memory_order_relaxed);
    m_bytes[put % Capacity] = byte;
    m_put.store(put + 1);
    return m_asleep.exchange(false);
}

qsizetype SendQueue::Peek(quint8* bytes) const
{
    const quint64 taken = m_taken.load(std::memory_order_relaxed);
    const qsizetype count = qsizetype(m_put.load() - taken);
    for (qsizetype i = 0; i < count; ++i)
        bytes[i] = m_bytes[(taken + quint64(i)) % Capacity];
    return count;
}

void SendQueue::Taken(qsizetype count)
{
    m_taken.store(m_taken.load(std::memory_order_relaxed) + quint64(count));
}

bool SendQueue::Sleep()
{
    m_asleep.store(true);
    if (!Pending())
        return true;
    m_asleep.store(false);
    return false;
}
