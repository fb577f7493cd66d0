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
    // Only the exchange under way and those this event began can have changed.
    for (qsizetype index = m_current; index < trace.exchanges.size(); ++index) {
        if (index > m_current) {
            m_current = index;
            m_currentBytes = m_currentProcedure = 0;
        }
        FollowExchange(trace, index, timeNs);
    }
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
    if (BytesOf(exchange) != m_currentBytes)
        bar.endNs = timeNs;
    m_currentBytes = BytesOf(exchange);
    if (exchange.HasStatus())
        bar.status = StatusClassOf(quint8(exchange.status[0]), quint8(exchange.status[1]));
    MarkNulls(trace, exchange, timeNs);
}

void TimingBuilder::MarkNulls(const Trace& trace, const TraceExchange& exchange, qint64 timeNs)
{
    for (; m_currentProcedure < exchange.procedure.size(); ++m_currentProcedure) {
        if (exchange.procedure[m_currentProcedure] == NullByte)
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
