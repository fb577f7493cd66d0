#pragma once

#include "trace/Trace.h"

#include <QList>

// How an exchange ended, as the timing chart colours it.
enum class StatusClass : quint8 { Normal, Warning, Error, Unfinished };

// The class of a status word: normal (90 00, 61 xx, 91 xx, 9F xx), warning
// (62 xx, 63 xx, 6C xx which asks the command again, 92 0x) or error (the rest).
StatusClass StatusClassOf(quint8 sw1, quint8 sw2);

// One exchange on the link's own clock (ns, monotonic, the timeline's times).
struct TimingBar {
    qint64 startNs = 0;      // the header's first byte
    qint64 headerEndNs = -1; // its last byte, from which the card's answer is awaited
    qint64 answerNs = -1;    // the card's first byte after the header
    qint64 endNs = 0;        // the exchange's last byte, the status word's when it came
    qint32 row = -1;         // the header's row
    StatusClass status = StatusClass::Unfinished;
};

enum class TimingMarkKind : quint8 {
    Null,  // a NULL byte (60): the card asked for more time
    Reset, // the port opened or a line-control action (the card may answer with an ATR)
};

struct TimingMark {
    qint64 atNs = 0;
    qint32 row = -1;
    TimingMarkKind kind = TimingMarkKind::Null;
};

Q_DECLARE_TYPEINFO(TimingBar, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TimingMark, Q_RELOCATABLE_TYPE);

// The times of a trace's exchanges and marks, both in time order; bars[i] is
// exchanges[i]. Empty until the first event.
struct TraceTiming {
    QList<TimingBar> bars;
    QList<TimingMark> marks;
    qint64 firstNs = 0; // the first event's time: the chart's zero
    qint64 lastNs = 0;  // the last event's
};

// Follows a trace as its decoder takes events one by one and notes when each
// part of it happened, which the trace itself keeps only for the start of a
// row: a row of NULL bytes gets a mark for every byte.
class TimingBuilder {
public:
    // After the decoder has taken an event that happened at `timeNs`.
    void Follow(const Trace& trace, qint64 timeNs);
    const TraceTiming& Timing() const { return m_timing; }

private:
    // What was seen of an exchange that may still grow.
    struct Seen {
        qsizetype bytes = 0;
        qsizetype procedure = 0;
    };

    void FollowExchange(const Trace& trace, qsizetype index, qint64 timeNs);
    void MarkNulls(const Trace& trace, const TraceExchange& exchange, Seen& seen, qint64 timeNs);
    void MarkResets(const Trace& trace, qint64 timeNs);

    TraceTiming m_timing;
    bool m_started = false;
    qsizetype m_rowsSeen = 0;
    qsizetype m_current = 0; // the first exchange that may still grow: the oldest under way
    QList<Seen> m_seen;      // from m_current on
};
