#include "LineOutput.h"

#include <algorithm>

namespace {

constexpr long long kBitsPerByte = 12;

} // namespace

LineOutput::Clock::duration LineOutput::ByteTime(int baud)
{
    if (baud <= 0)
        return {};
    return std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(kBitsPerByte)) / baud;
}

void LineOutput::append(const QByteArray& bytes, Pace pace, Clock::time_point now)
{
    if (bytes.isEmpty())
        return;
    m_chunks.push_back({bytes, 0, ByteTime(pace.baud), now});
}

QByteArray LineOutput::due(Clock::time_point now) const
{
    if (m_chunks.empty())
        return {};
    const Chunk& front = m_chunks.front();
    return front.bytes.mid(front.done, DueCount(front, now));
}

void LineOutput::written(qsizetype count, Clock::time_point now)
{
    while (count > 0 && !m_chunks.empty()) {
        Chunk& front = m_chunks.front();
        const qsizetype taken = std::min(count, front.bytes.size() - front.done);
        front.done += taken;
        count -= taken;
        if (front.done < front.bytes.size())
            break;
        m_chunks.pop_front();
        if (!m_chunks.empty())
            m_chunks.front().start = now;
    }
}

std::optional<LineOutput::Clock::time_point> LineOutput::nextDue() const
{
    if (m_chunks.empty())
        return std::nullopt;
    const Chunk& front = m_chunks.front();
    return front.start + front.interval * front.done;
}

qsizetype LineOutput::DueCount(const Chunk& chunk, Clock::time_point now)
{
    const qsizetype remaining = chunk.bytes.size() - chunk.done;
    if (chunk.interval == Clock::duration::zero())
        return remaining;
    if (now < chunk.start)
        return 0;
    const qsizetype reached = qsizetype((now - chunk.start) / chunk.interval) + 1;
    return std::clamp<qsizetype>(reached - chunk.done, 0, remaining);
}
