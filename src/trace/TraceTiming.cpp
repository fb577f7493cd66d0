#include "trace/TraceTiming.h"

namespace {

constexpr qsizetype HeaderSize = 5;
constexpr char NullByte = 0x60;

qsizetype BytesOf(const TraceExchange& exchange)
{
    return exchange.header.size() + exchange.data.size() + exchange.procedure.size() + exchange.status.size();
}

// The last row of `kind` after row `after`, or `after` when there is none.
qint32 LastRowOf(const Trace& trace, TraceKind kind, qint32 after)
{
    for (auto row = qint32(trace.rows.size() - 1); row > after; --row) {
        if (trace.rows[row].kind == kind)
            return row;
    }
    return after;
}

} // namespace

StatusClass StatusClassOf(quint8 sw1, quint8 sw2)
{
    switch (sw1) {
    case 0x90:
    case 0x91:
    case 0x9F:
    case 0x61: return StatusClass::Normal;
    case 0x62:
    case 0x63:
    case 0x6C: return StatusClass::Warning;
    case 0x92: return sw2 < 0x10 ? StatusClass::Warning : StatusClass::Error; // 92 0X: written after X retries
    default: return StatusClass::Error;
    }
}

void TimingBuilder::Follow(const Trace& trace, qint64 timeNs)
{
    if (!m_started)
        m_timing.firstNs = timeNs;
    m_started = true;
    m_timing.lastNs = timeNs;
    MarkResets(trace, timeNs);
    // Only the exchanges under way and those this event began can have changed;
    // a command sent before the card answered the one before leaves several under way.
    m_seen.resize(trace.exchanges.size() - m_current);
    for (qsizetype index = m_current; index < trace.exchanges.size(); ++index)
        FollowExchange(trace, index, timeNs);
    qsizetype ended = 0;
    while (ended < m_seen.size() && trace.exchanges[m_current + ended].end != ExchangeEnd::TraceEnd)
        ++ended;
    m_seen.remove(0, ended);
    m_current += ended;
}

void TimingBuilder::FollowExchange(const Trace& trace, qsizetype index, qint64 timeNs)
{
    const TraceExchange& exchange = trace.exchanges[index];
    if (index == m_timing.bars.size())
        m_timing.bars.append({timeNs, -1, -1, timeNs, exchange.headerRow, StatusClass::Unfinished});
    TimingBar& bar = m_timing.bars[index];
    if (bar.headerEndNs < 0 && exchange.header.size() == HeaderSize)
        bar.headerEndNs = timeNs;
    if (bar.answerNs < 0 && exchange.answerNs >= 0 && bar.headerEndNs >= 0)
        bar.answerNs = bar.headerEndNs + exchange.answerNs;
    Seen& seen = m_seen[index - m_current];
    if (BytesOf(exchange) != seen.bytes)
        bar.endNs = timeNs;
    seen.bytes = BytesOf(exchange);
    if (exchange.HasStatus())
        bar.status = StatusClassOf(quint8(exchange.status[0]), quint8(exchange.status[1]));
    MarkNulls(trace, exchange, seen, timeNs);
}

void TimingBuilder::MarkNulls(const Trace& trace, const TraceExchange& exchange, Seen& seen, qint64 timeNs)
{
    for (; seen.procedure < exchange.procedure.size(); ++seen.procedure) {
        if (exchange.procedure[seen.procedure] == NullByte)
            m_timing.marks.append({timeNs, LastRowOf(trace, TraceKind::Null, exchange.headerRow), TimingMarkKind::Null});
    }
}

void TimingBuilder::MarkResets(const Trace& trace, qint64 timeNs)
{
    for (; m_rowsSeen < trace.rows.size(); ++m_rowsSeen) {
        const TraceKind kind = trace.rows[m_rowsSeen].kind;
        if (kind == TraceKind::PortOpened || kind == TraceKind::LineControl)
            m_timing.marks.append({timeNs, qint32(m_rowsSeen), TimingMarkKind::Reset});
    }
}
