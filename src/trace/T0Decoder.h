#pragma once

#include "link/LinkTimeline.h"
#include "trace/Trace.h"

#include <array>
#include <deque>

// Decodes the T=0 traffic of a card link, event by event: the ATR after an open
// or a line-control action, the interface's echo of bytes sent, command headers,
// procedure bytes, data and status words; whatever fits none of them becomes
// unrecognised bytes. The rows depend on the events alone.
class T0Decoder {
public:
    // What the other side of the link still owes the program, as far as the
    // traffic so far shows: nothing, the rest of an ATR the card has begun, or
    // the answer to a command whose header is complete (the echo of bytes sent,
    // procedure bytes, data, the status word).
    enum class Owed { Nothing, Atr, Answer };

    T0Decoder();
    void Add(const LinkEvent& event);
    Owed Owes() const;
    // The rows so far; the last rows may still grow.
    const Trace& Current() const { return m_trace; }
    // Ends what is under way (an ATR cut short, an exchange without status word).
    Trace Finish();

private:
    enum class Phase { Idle, Header, Atr, Procedure, Transfer, StatusTwo };
    enum Slot { ProgramSlot, CardSlot, EchoSlot, SlotCount };
    struct SentByte {
        quint8 byte;
        qint32 exchange;
        qint64 timeNs;
    };

    void PortEvent(const LinkEvent& event);
    void AddNote(const LinkEvent& event);
    void Sent(quint8 byte);
    void Received(quint8 byte);
    bool Echo(quint8 byte);

    void StartHeader(quint8 byte);
    void HeaderByte(quint8 byte);
    void ProgramData(quint8 byte);
    void ProcedureByte(quint8 byte);
    void CardData(quint8 byte);
    void StatusByte(quint8 byte);
    void StartAtr(quint8 byte);
    void AtrByte(quint8 byte);
    void FinishAtr();
    void EndExchange(ExchangeEnd end);
    void EndUnderWay(ExchangeEnd end);
    bool DecideFlow(DataFlow flow);
    int Remaining();
    void TakeData(Slot slot, quint8 byte);
    void Unrecognised(UnrecognisedReason reason, quint8 byte);

    void AddByte(Slot slot, TraceKind kind, qint32 ref, quint8 byte, bool join = true);
    void AddPortRow(TraceKind kind, qint32 ref);
    qint32 NewRow(TraceKind kind, TraceDirection direction, qint32 ref);
    void CloseSlot(Slot slot);
    void CloseSlots();
    TraceExchange& Exchange() { return m_trace.exchanges[m_exchange]; }
    qint64 WallNs() const { return m_openWallNs + (m_now - m_openTimeNs); }

    Trace m_trace;
    Phase m_phase = Phase::Idle;
    bool m_atrExpected = false;
    bool m_echoing = false;     // the interface has echoed a byte since the open
    bool m_started = false;
    qint64 m_now = 0;           // time of the event being decoded
    qint64 m_lastNs = 0;        // time of the last byte or event decoded
    qint64 m_openTimeNs = 0;
    qint64 m_openWallNs = 0;
    qint64 m_headerEndNs = 0;
    qint32 m_exchange = -1;     // the exchange under way
    qint32 m_atr = -1;          // the ATR under way
    DataFlow m_flow = DataFlow::None; // decided for the exchange under way
    int m_burst = 0;            // data bytes before the next procedure byte
    std::deque<SentByte> m_unechoed;
    std::array<qint32, SlotCount> m_open{-1, -1, -1}; // rows still growing
};

// The trace of a whole timeline.
Trace DecodeT0(const LinkTimeline& timeline);
