#include "trace/TraceBuilder.h"

#include <algorithm>

namespace {

constexpr TraceDirection SideDirection[] = {TraceDirection::ToCard, TraceDirection::FromCard, TraceDirection::Echo};

} // namespace

void TraceBuilder::SetTime(qint64 ns)
{
    if (!m_started) {
        m_started = true;
        m_openTimeNs = m_lastNs = ns;
    }
    m_now = ns;
}

void TraceBuilder::Opened(qint64 wallNs)
{
    m_openTimeNs = m_now;
    m_openWallNs = wallNs;
    m_trace.opens.append(wallNs);
    AddPortRow(TraceKind::PortOpened, qint32(m_trace.opens.size() - 1));
}

void TraceBuilder::AddByte(Side side, TraceKind kind, qint32 ref, quint8 byte, bool join)
{
    const qint32 open = m_open[side];
    if (!join || open < 0 || m_trace.rows[open].kind != kind || m_trace.rows[open].ref != ref) {
        if (side == CardSide) {
            CloseRow(ProgramSide);
            CloseRow(EchoSide);
        } else {
            CloseRow(CardSide);
        }
        CloseRow(side);
        m_open[side] = NewRow(kind, SideDirection[side], ref);
        m_trace.rows[m_open[side]].offset = -1 - side;
    }
    m_trace.growing[side].append(char(byte));
    ++m_trace.rows[m_open[side]].size;
    m_lastNs = m_now;
}

void TraceBuilder::AddPortRow(TraceKind kind, qint32 ref)
{
    CloseRows();
    NewRow(kind, TraceDirection::None, ref);
}

qint32 TraceBuilder::FirstOpenRow() const
{
    qint32 first = qint32(m_trace.rows.size());
    for (const qint32 open : m_open)
        first = open >= 0 ? std::min(first, open) : first;
    return first;
}

void TraceBuilder::CloseRows()
{
    for (int side = 0; side < SideCount; ++side)
        CloseRow(Side(side));
}

// A row that is done moves its bytes to the trace's bytes, after those of the rows before.
void TraceBuilder::CloseRow(Side side)
{
    if (m_open[side] < 0)
        return;
    m_trace.rows[m_open[side]].offset = m_trace.bytes.size();
    m_trace.bytes += m_trace.growing[side];
    m_trace.growing[side].resize(0);
    m_open[side] = -1;
}

qint32 TraceBuilder::NewRow(TraceKind kind, TraceDirection direction, qint32 ref)
{
    TraceRow row;
    row.sinceOpenNs = m_now - m_openTimeNs;
    row.silenceNs = m_trace.rows.isEmpty() ? -1 : std::max<qint64>(0, m_now - m_lastNs);
    row.ref = ref;
    row.kind = kind;
    row.direction = direction;
    m_trace.rows.append(std::move(row));
    m_lastNs = m_now;
    return qint32(m_trace.rows.size() - 1);
}
