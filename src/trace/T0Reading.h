#pragma once

#include "link/LinkTimeline.h"
#include "trace/TraceBuilder.h"
#include "trace/TraceTiming.h"

#include <deque>

// One reading of a card link's T=0 traffic, byte by byte, under one belief about
// the interface's echo: the ATR after an open or a line-control action, a PPS
// right after it, command headers, procedure bytes, data, status words and the
// echo of bytes sent; whatever fits none of them becomes unrecognised bytes.
// A program may send its next command before the card has answered the one
// before: the card's bytes answer the oldest command still waiting.
// It counts what well-formed traffic never shows, so that two readings of the
// same traffic can be weighed (T0Decoder).
class T0Reading {
public:
    // What the other side of the link still owes the program: nothing, the rest
    // of an ATR the card has begun, or the answer to a command or PPS request that
    // is complete (the echo of bytes sent, procedure bytes, data, the status word).
    enum class Owed { Nothing, Atr, Answer };
    // Until its first answer after a send, an interface may or may not echo.
    enum class EchoBelief { Unknown, Echoes, Silent };

    void PortEvent(const LinkEvent& event);
    void Sent(qint64 timeNs, quint8 byte);
    void Received(qint64 timeNs, quint8 byte);
    // Ends what is under way (an ATR cut short, an exchange without status word).
    void EndUnderWay(ExchangeEnd end);

    // Whether a byte received now could be the echo of the oldest byte sent as
    // well as the card's answer, while the interface's echo is still unknown.
    bool EchoInDoubt(qint64 timeNs, quint8 byte) const;
    void Believe(EchoBelief belief);
    // Unrecognised bytes, echoes that never came or came after the card's answer
    // to them, requests that got no answer at all.
    int Faults() const { return m_faults; }

    Owed Owes() const;
    const Trace& Current() const { return m_rows.trace(); }
    // When each exchange and mark of this reading happened; brought up to date
    // after each event by FollowTiming.
    const TraceTiming& Timing() const { return m_timing.Timing(); }
    void FollowTiming(qint64 timeNs) { m_timing.Follow(m_rows.trace(), timeNs); }
    // The first row whose text may still change: a row still growing, the first
    // row of an ATR under way, or the header of a command under way; the number
    // of rows when there is none.
    qint32 FirstUnsettledRow() const;

private:
    enum class CardPhase { Procedure, Transfer, StatusTwo };
    struct SentByte {
        quint8 byte;
        qint32 ref; // its exchange, -1 for a PPS request
        qint64 number; // counts the bytes sent
        qint64 timeNs;
    };
    // A command whose header is complete and whose status word has not come.
    struct Waiting {
        qint32 exchange;
        qint64 sentUpTo; // the number of the header's last byte sent
        qint64 headerEndNs;
        qint64 lastNs; // of its last byte either way
    };

    void AddNote(const LinkEvent& event);
    qint32 ProgramByte(quint8 byte);
    void StartHeader(quint8 byte);
    void HeaderByte(quint8 byte);
    void ProgramData(quint8 byte);
    bool Echo(quint8 byte);
    void DropLostEchoes();
    void EchoBehind(qint64 sentUpTo);
    void CardByte(quint8 byte);
    void AnswerByte(quint8 byte);
    void ProcedureByte(quint8 byte);
    void StatusByte(quint8 byte);
    void CardData(quint8 byte);
    void GiveUpUnheard();
    void FinishOldest(ExchangeEnd end);
    void EndExchange(qint32 index, ExchangeEnd end);
    void StartPps(quint8 byte);
    void PpsRequestByte(quint8 byte);
    bool PpsResponseByte(quint8 byte);
    bool PpsAwaited() const;
    void EndPps();
    void StartAtr(quint8 byte);
    void AtrByte(quint8 byte);
    void FinishAtr();
    void Unrecognised(UnrecognisedReason reason, quint8 byte);

    TraceExchange& Exchange(qint32 index) { return m_rows.trace().exchanges[index]; }
    TraceExchange& Newest() { return Exchange(m_newest); }
    TraceExchange& Oldest() { return Exchange(m_waiting.front().exchange); }
    TracePps& Pps() { return m_rows.trace().ppss[m_pps]; }
    const TracePps& Pps() const { return m_rows.trace().ppss[m_pps]; }

    TraceBuilder m_rows;
    TimingBuilder m_timing;
    EchoBelief m_belief = EchoBelief::Unknown;
    int m_faults = 0;
    bool m_atrExpected = false;
    bool m_ppsDue = false;  // the program's next byte may begin a PPS request
    qint32 m_atr = -1;      // the ATR under way
    qint32 m_atrRow = -1;   // its first row: a line change may part its bytes
    qint32 m_pps = -1;      // the PPS under way: its request, or the response to it
    qint64 m_ppsSentUpTo = 0;
    qint32 m_newest = -1;   // the command the program sent last, while its header or data may grow
    std::deque<Waiting> m_waiting; // oldest first
    CardPhase m_phase = CardPhase::Procedure; // of the oldest command waiting
    int m_burst = 0;        // data bytes before the next procedure byte
    std::deque<SentByte> m_unechoed;
    qint64 m_sentCount = 0;
    int m_wi = 10;          // the work waiting integer of the last ATR (TC2 for T=0)
};
