#pragma once

#include "trace/Trace.h"

#include <array>

// Builds the rows of a trace as the bytes of the traffic come, in time order:
// a byte joins the growing row of its side (the program's, the card's or the
// echo's) while it is of the same kind and belongs to the same ATR, exchange or
// PPS. Bytes sent and their echo interleave; a card byte ends the rows of both,
// and a byte of either ends the card's.
class TraceBuilder {
public:
    enum Side { ProgramSide, CardSide, EchoSide, SideCount };

    TraceBuilder() { m_trace.growing.resize(SideCount); }

    // The time of the event being decoded; the first one starts the clock.
    void SetTime(qint64 ns);
    qint64 Now() const { return m_now; }
    qint64 WallNs() const { return m_openWallNs + (m_now - m_openTimeNs); }

    // The port opened now, at `wallNs` by the wall clock: rows count their time from here.
    void Opened(qint64 wallNs);
    void AddByte(Side side, TraceKind kind, qint32 ref, quint8 byte, bool join = true);
    void AddPortRow(TraceKind kind, qint32 ref);
    qint32 OpenRow(Side side) const { return m_open[side]; }
    // The first row still growing; the number of rows when none is.
    qint32 FirstOpenRow() const;
    void CloseRow(Side side);
    void CloseRows();

    Trace& trace() { return m_trace; }
    const Trace& trace() const { return m_trace; }

private:
    qint32 NewRow(TraceKind kind, TraceDirection direction, qint32 ref);

    Trace m_trace;
    bool m_started = false;
    qint64 m_now = 0;
    qint64 m_lastNs = 0; // time of the last byte or event
    qint64 m_openTimeNs = 0;
    qint64 m_openWallNs = 0;
    std::array<qint32, SideCount> m_open{-1, -1, -1}; // rows still growing
};
