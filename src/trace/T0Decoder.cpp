#include "trace/T0Decoder.h"

#include "trace/StatusWords.h"

#include <algorithm>

namespace {

constexpr qsizetype HeaderSize = 5;
constexpr quint8 NullByte = 0x60;
constexpr quint8 DirectTsSeenInverse = 0x23;
// A card that answers a command ends the echo; an interface that does not echo
// and a card that never answers would otherwise keep every byte sent waiting.
constexpr std::size_t MostUnechoed = HeaderSize + 256;
// An echo comes back within a character time or two; a byte whose echo has not
// come in a second has lost it.
constexpr qint64 EchoWindowNs = 1'000'000'000;

constexpr TraceDirection SlotDirection[] = {TraceDirection::ToCard, TraceDirection::FromCard, TraceDirection::Echo};

} // namespace

T0Decoder::T0Decoder() { m_trace.growing.resize(SlotCount); }

void T0Decoder::Add(const LinkEvent& event)
{
    m_now = event.timeNs;
    if (!m_started) {
        m_started = true;
        m_openTimeNs = m_lastNs = m_now;
    }
    if (event.kind == LinkEventKind::Sent) {
        for (char byte : event.bytes)
            Sent(quint8(byte));
    } else if (event.kind == LinkEventKind::Received) {
        for (char byte : event.bytes)
            Received(quint8(byte));
    } else {
        PortEvent(event);
    }
}

T0Decoder::Owed T0Decoder::Owes() const
{
    switch (m_phase) {
    case Phase::Atr: return Owed::Atr;
    case Phase::Transfer: return m_flow == DataFlow::ToCard ? Owed::Nothing : Owed::Answer; // the program owes data
    case Phase::Procedure:
    case Phase::StatusTwo: return Owed::Answer;
    case Phase::Idle:
    case Phase::Header: break;
    }
    return m_echoing && !m_unechoed.empty() ? Owed::Answer : Owed::Nothing;
}

Trace T0Decoder::Finish()
{
    EndUnderWay(ExchangeEnd::TraceEnd);
    Trace trace = std::move(m_trace);
    *this = T0Decoder();
    return trace;
}

void T0Decoder::PortEvent(const LinkEvent& event)
{
    switch (event.kind) {
    case LinkEventKind::Opened:
        EndUnderWay(ExchangeEnd::LineChange);
        m_openTimeNs = m_now;
        m_openWallNs = event.value;
        m_echoing = false;
        m_trace.opens.append(event.value);
        AddPortRow(TraceKind::PortOpened, qint32(m_trace.opens.size() - 1));
        m_atrExpected = true;
        break;
    case LinkEventKind::Closed:
        EndUnderWay(ExchangeEnd::LineChange);
        AddPortRow(TraceKind::PortClosed, -1);
        m_atrExpected = false;
        break;
    case LinkEventKind::BaudChanged:
        AddPortRow(TraceKind::BaudChanged, qint32(event.value));
        break;
    case LinkEventKind::LineControl:
        // A card interface resets the card through its lines: an ATR may follow.
        EndUnderWay(ExchangeEnd::LineChange);
        AddPortRow(TraceKind::LineControl, qint32(event.value));
        m_atrExpected = true;
        break;
    case LinkEventKind::ReaderNote:
        AddNote(event);
        break;
    case LinkEventKind::Sent:
    case LinkEventKind::Received:
        break;
    }
}

// A row of its own, whose bytes are the note's and no part of the traffic.
void T0Decoder::AddNote(const LinkEvent& event)
{
    m_trace.notes.append({ReaderNoteKind(event.value), event.bytes.toByteArray()});
    AddPortRow(TraceKind::ReaderNote, qint32(m_trace.notes.size() - 1));
}

void T0Decoder::Sent(quint8 byte)
{
    if (m_phase == Phase::Atr)
        FinishAtr();
    m_atrExpected = false;
    // A program that does not wait for the procedure byte sends the data of a
    // command that takes data right after its header.
    const bool dataDue = m_phase == Phase::Transfer || (m_phase == Phase::Procedure && m_flow == DataFlow::ToCard);
    if (dataDue && DecideFlow(DataFlow::ToCard))
        TakeData(ProgramSlot, byte);
    else if (m_phase == Phase::Header)
        HeaderByte(byte);
    else
        StartHeader(byte);
    if (m_unechoed.size() == MostUnechoed)
        m_unechoed.pop_front();
    m_unechoed.push_back({byte, m_exchange, m_now});
    if (m_phase == Phase::Header && NoCardTakes(Exchange().header))
        EndExchange(ExchangeEnd::NoCommand); // the next byte begins a header
}

// A received byte that repeats the oldest byte sent and not yet echoed is its
// echo. Where the interface echoes, the card may answer between the echoes of
// bytes sent without waiting for it; where it does not, a byte that is no echo
// ends the wait for any.
bool T0Decoder::Echo(quint8 byte)
{
    while (!m_unechoed.empty() && m_now - m_unechoed.front().timeNs > EchoWindowNs)
        m_unechoed.pop_front();
    if (m_unechoed.empty())
        return false;
    const SentByte sent = m_unechoed.front();
    if (sent.byte != byte) {
        if (!m_echoing)
            m_unechoed.clear();
        return false;
    }
    m_unechoed.pop_front();
    m_echoing = true;
    AddByte(EchoSlot, TraceKind::Echo, sent.exchange, byte);
    return true;
}

void T0Decoder::Received(quint8 byte)
{
    if (Echo(byte))
        return;
    switch (m_phase) {
    case Phase::Atr: AtrByte(byte); return;
    case Phase::Procedure: ProcedureByte(byte); return;
    case Phase::StatusTwo: StatusByte(byte); return;
    case Phase::Transfer:
        if (DecideFlow(DataFlow::FromCard))
            TakeData(CardSlot, byte);
        else
            ProcedureByte(byte); // the card speaks before all data went to it
        return;
    case Phase::Idle:
    case Phase::Header: break;
    }
    const bool atrDue = m_phase == Phase::Idle && m_atrExpected;
    if (atrDue && (byte == 0x3B || byte == 0x3F))
        StartAtr(byte);
    else if (atrDue && byte == DirectTsSeenInverse)
        Unrecognised(UnrecognisedReason::DirectTs, byte);
    else
        Unrecognised(UnrecognisedReason::NothingToAnswer, byte);
}

void T0Decoder::StartHeader(quint8 byte)
{
    if (m_exchange >= 0)
        EndExchange(ExchangeEnd::NextCommand);
    TraceExchange exchange;
    exchange.wallNs = WallNs();
    m_trace.exchanges.append(std::move(exchange));
    m_exchange = qint32(m_trace.exchanges.size() - 1);
    m_flow = DataFlow::None;
    m_phase = Phase::Header;
    HeaderByte(byte);
    Exchange().headerRow = m_open[ProgramSlot];
}

void T0Decoder::HeaderByte(quint8 byte)
{
    TraceExchange& exchange = Exchange();
    exchange.header.append(char(byte));
    AddByte(ProgramSlot, TraceKind::Header, m_exchange, byte);
    if (exchange.header.size() < HeaderSize)
        return;
    const Instruction* instruction = FindInstruction(exchange.header);
    exchange.expectedFlow = instruction ? instruction->flow : DataFlow::None;
    // A case 1 instruction or an unknown one: whoever sends data first decides.
    m_flow = exchange.expectedFlow;
    exchange.flow = m_flow;
    m_headerEndNs = m_now;
    m_phase = Phase::Procedure;
}

void T0Decoder::ProcedureByte(quint8 byte)
{
    TraceExchange& exchange = Exchange();
    if (exchange.answerNs < 0)
        exchange.answerNs = m_now - m_headerEndNs;
    const quint8 ins = exchange.Ins();
    if (byte == NullByte) {
        exchange.procedure.append(char(byte));
        AddByte(CardSlot, TraceKind::Null, m_exchange, byte);
        m_phase = Phase::Procedure;
    } else if (byte == ins || byte == quint8(ins ^ 0xFF)) {
        exchange.procedure.append(char(byte));
        AddByte(CardSlot, TraceKind::Procedure, m_exchange, byte, false);
        m_burst = byte == ins ? 256 : 1;
        m_phase = m_flow != DataFlow::None && Remaining() <= 0 ? Phase::Procedure : Phase::Transfer;
    } else if (IsStatusByte(byte)) {
        StatusByte(byte);
    } else {
        Unrecognised(UnrecognisedReason::NotProcedure, byte);
    }
}

void T0Decoder::StatusByte(quint8 byte)
{
    TraceExchange& exchange = Exchange();
    const bool dataCame = exchange.flow == DataFlow::FromCard && !exchange.data.isEmpty();
    if (exchange.status.isEmpty() && !dataCame)
        exchange.responseWallNs = WallNs();
    exchange.status.append(char(byte));
    AddByte(CardSlot, TraceKind::Status, m_exchange, byte);
    if (exchange.status.size() < 2) {
        m_phase = Phase::StatusTwo;
        return;
    }
    EndExchange(ExchangeEnd::Complete);
}

// The first side to send data after the procedure byte decides its direction,
// unless the instruction table already has.
bool T0Decoder::DecideFlow(DataFlow flow)
{
    if (m_flow == DataFlow::None && DataLength(Exchange().P3(), flow) > Exchange().data.size()) {
        m_flow = flow;
        Exchange().flow = flow;
    }
    return m_flow == flow && Remaining() > 0;
}

int T0Decoder::Remaining()
{
    return DataLength(Exchange().P3(), m_flow) - int(Exchange().data.size());
}

void T0Decoder::TakeData(Slot slot, quint8 byte)
{
    TraceExchange& exchange = Exchange();
    if (slot == CardSlot && exchange.data.isEmpty())
        exchange.responseWallNs = WallNs();
    exchange.data.append(char(byte));
    AddByte(slot, TraceKind::Data, m_exchange, byte);
    if (--m_burst == 0 || Remaining() == 0)
        m_phase = Phase::Procedure;
}

void T0Decoder::StartAtr(quint8 byte)
{
    m_trace.atrs.append({Atr(), WallNs()});
    m_atr = qint32(m_trace.atrs.size() - 1);
    m_phase = Phase::Atr;
    m_atrExpected = false;
    AtrByte(byte);
}

void T0Decoder::AtrByte(quint8 byte)
{
    Atr& atr = m_trace.atrs[m_atr].atr;
    atr = ParseAtr(atr.bytes + char(byte));
    AddByte(CardSlot, TraceKind::Atr, m_atr, byte);
    if (atr.complete || atr.bytes.size() >= Atr::MaxLength)
        FinishAtr();
}

void T0Decoder::FinishAtr()
{
    m_atr = -1;
    m_phase = Phase::Idle;
}

void T0Decoder::EndExchange(ExchangeEnd end)
{
    Exchange().end = end;
    m_exchange = -1;
    m_phase = Phase::Idle;
}

void T0Decoder::EndUnderWay(ExchangeEnd end)
{
    if (m_phase == Phase::Atr)
        FinishAtr();
    if (m_exchange >= 0)
        EndExchange(end);
    m_unechoed.clear();
    CloseSlots();
}

void T0Decoder::Unrecognised(UnrecognisedReason reason, quint8 byte)
{
    AddByte(CardSlot, TraceKind::Unrecognised, qint32(reason), byte);
}

// Bytes join the growing row of their slot when they are of the same kind and
// exchange. Sent bytes and their echo interleave; a card byte ends both.
void T0Decoder::AddByte(Slot slot, TraceKind kind, qint32 ref, quint8 byte, bool join)
{
    const qint32 open = m_open[slot];
    if (!join || open < 0 || m_trace.rows[open].kind != kind || m_trace.rows[open].ref != ref) {
        if (slot == CardSlot) {
            CloseSlot(ProgramSlot);
            CloseSlot(EchoSlot);
        } else {
            CloseSlot(CardSlot);
        }
        CloseSlot(slot);
        m_open[slot] = NewRow(kind, SlotDirection[slot], ref);
        m_trace.rows[m_open[slot]].offset = -1 - slot;
    }
    m_trace.growing[slot].append(char(byte));
    ++m_trace.rows[m_open[slot]].size;
    m_lastNs = m_now;
}

// A row that is done moves its bytes to the trace's bytes, after those of the rows before.
void T0Decoder::CloseSlot(Slot slot)
{
    if (m_open[slot] < 0)
        return;
    m_trace.rows[m_open[slot]].offset = m_trace.bytes.size();
    m_trace.bytes += m_trace.growing[slot];
    m_trace.growing[slot].resize(0);
    m_open[slot] = -1;
}

void T0Decoder::CloseSlots()
{
    for (int slot = 0; slot < SlotCount; ++slot)
        CloseSlot(Slot(slot));
}

void T0Decoder::AddPortRow(TraceKind kind, qint32 ref)
{
    CloseSlots();
    NewRow(kind, TraceDirection::None, ref);
}

qint32 T0Decoder::NewRow(TraceKind kind, TraceDirection direction, qint32 ref)
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

Trace DecodeT0(const LinkTimeline& timeline)
{
    T0Decoder decoder;
    for (qsizetype i = 0; i < timeline.Size(); ++i)
        decoder.Add(timeline.At(i));
    return decoder.Finish();
}
