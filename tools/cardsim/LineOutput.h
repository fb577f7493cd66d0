#pragma once

#include <QByteArray>
#include <chrono>
#include <deque>
#include <optional>

// How fast the simulator puts bytes on the line.
struct Pace {
    int baud = 0; // 0: as fast as the line takes them; else one byte every 12 bit times
};

// The bytes waiting to go out on the line, in order. Each chunk keeps its own
// pace: byte k of a paced chunk is due k byte times after the chunk started,
// and a chunk starts when the one before it is done.
class LineOutput {
public:
    using Clock = std::chrono::steady_clock;

    void append(const QByteArray& bytes, Pace pace, Clock::time_point now);
    // The bytes of the first chunk whose time has come; the next chunk's come
    // once these have been written.
    QByteArray due(Clock::time_point now) const;
    // Removes the first `count` bytes, which have gone out.
    void written(qsizetype count, Clock::time_point now);
    // When the next byte falls due (now or later); empty when nothing waits.
    std::optional<Clock::time_point> nextDue() const;
    bool empty() const { return m_chunks.empty(); }
    void clear() { m_chunks.clear(); }

    // 12 bit times (start, 8 data, parity, 2 stop) at the given rate.
    static Clock::duration ByteTime(int baud);

private:
    struct Chunk {
        QByteArray bytes;
        qsizetype done = 0;
        Clock::duration interval{};
        Clock::time_point start;
    };
    static qsizetype DueCount(const Chunk& chunk, Clock::time_point now);

    std::deque<Chunk> m_chunks;
};
