#include "trace/T0Reading.h"

#include "trace/Pps.h"
#include "trace/StatusWords.h"

#include <algorithm>
#include <utility>

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
// A card sends a byte at least once per work waiting time, 960 WI etu: WI times
// 100 ms at 9600 baud. A command it has left silent for twice that (the host sees
// bytes late) was not heard, once a later command waits.
constexpr qint64 UnheardNsPerWi = 2 * 100'000'000;

// Unknown instructions take their data from whichever side sends it first.
bool FlowOpen(const TraceExchange& exchange) { return exchange.flow == DataFlow::None && !exchange.known; }

int Remaining(const TraceExchange& exchange)
{
    if (exchange.flow == DataFlow::None)
        return 0;
    return DataLength(exchange.P3(), exchange.flow) - int(exchange.data.size());
}

// The first side to send data after the header decides its direction, unless
// the instruction table already has.
bool DecideFlow(TraceExchange& exchange, DataFlow flow)
{
    if (FlowOpen(exchange) && DataLength(exchange.P3(), flow) > exchange.data.size())
        exchange.flow = flow;
    return exchange.flow == flow && Remaining(exchange) > 0;
}

// Bytes sent after a complete header are its data up to the count P3 announces,
// where the data goes to the card or may.
bool TakesProgramData(const TraceExchange& exchange)
{
    const bool toCard = exchange.flow == DataFlow::ToCard || FlowOpen(exchange);
    return toCard && exchange.data.size() < DataLength(exchange.P3(), DataFlow::ToCard);
}

} // namespace

void T0Reading::PortEvent(const LinkEvent& event)
{
    m_rows.SetTime(event.timeNs);
    switch (event.kind) {
    case LinkEventKind::Opened:
        EndUnderWay(ExchangeEnd::LineChange);
        m_rows.Opened(event.value);
        m_belief = EchoBelief::Unknown;
        m_atrExpected = true;
        break;
    case LinkEventKind::Closed:
        EndUnderWay(ExchangeEnd::LineChange);
        m_rows.AddPortRow(TraceKind::PortClosed, -1);
        m_atrExpected = false;
        break;
    case LinkEventKind::BaudChanged:
        m_rows.AddPortRow(TraceKind::BaudChanged, qint32(event.value));
        return;
    case LinkEventKind::LineControl:
        // A card interface resets the card through its lines: an ATR may follow.
        EndUnderWay(ExchangeEnd::LineChange);
        m_rows.AddPortRow(TraceKind::LineControl, qint32(event.value));
        m_atrExpected = true;
        break;
    case LinkEventKind::ReaderNote:
        AddNote(event);
        return;
    case LinkEventKind::Sent:
    case LinkEventKind::Received:
        return;
    }
    m_ppsDue = false;
}

// A row of its own, whose bytes are the note's and no part of the traffic.
void T0Reading::AddNote(const LinkEvent& event)
{
    m_rows.trace().notes.append({ReaderNoteKind(event.value), event.bytes.toByteArray()});
    m_rows.AddPortRow(TraceKind::ReaderNote, qint32(m_rows.trace().notes.size() - 1));
}

void T0Reading::Sent(qint64 timeNs, quint8 byte)
{
    m_rows.SetTime(timeNs);
    ++m_sentCount;
    if (m_atr >= 0)
        FinishAtr();
    m_atrExpected = false;
    const qint32 ref = ProgramByte(byte);
    if (m_belief == EchoBelief::Silent)
        return;
    if (m_unechoed.size() == MostUnechoed) {
        m_unechoed.pop_front();
        m_faults += m_belief == EchoBelief::Echoes;
    }
    m_unechoed.push_back({byte, ref, m_sentCount, timeNs});
}

// The program's byte: a PPS request's, a header's, the data of the command sent
// last, or the first of a new command's header. Returns the exchange it belongs to.
qint32 T0Reading::ProgramByte(quint8 byte)
{
    const bool ppsDue = std::exchange(m_ppsDue, false);
    if (m_pps >= 0 && !PpsComplete(Pps().request)) {
        PpsRequestByte(byte);
        return -1;
    }
    if (ppsDue && byte == Ppss) {
        StartPps(byte);
        return -1;
    }
    if (m_newest >= 0 && Newest().header.size() < HeaderSize)
        HeaderByte(byte);
    else if (m_newest >= 0 && TakesProgramData(Newest()))
        ProgramData(byte);
    else
        StartHeader(byte);
    return qint32(m_rows.trace().exchanges.size() - 1); // the exchange the byte joined
}

void T0Reading::StartHeader(quint8 byte)
{
    TraceExchange exchange;
    exchange.wallNs = m_rows.WallNs();
    m_rows.trace().exchanges.append(std::move(exchange));
    const qint32 index = qint32(m_rows.trace().exchanges.size() - 1);
    m_newest = index;
    HeaderByte(byte);
    Exchange(index).headerRow = m_rows.OpenRow(TraceBuilder::ProgramSide);
}

void T0Reading::HeaderByte(quint8 byte)
{
    TraceExchange& exchange = Newest();
    exchange.header.append(char(byte));
    m_rows.AddByte(TraceBuilder::ProgramSide, TraceKind::Header, m_newest, byte);
    if (NoCardTakes(exchange.header)) // the next byte begins a header
        return EndExchange(m_newest, ExchangeEnd::NoCommand);
    if (exchange.header.size() < HeaderSize)
        return;
    const Instruction* instruction = FindInstruction(exchange.header);
    exchange.known = instruction != nullptr;
    exchange.expectedFlow = instruction ? instruction->flow : DataFlow::None;
    exchange.flow = exchange.expectedFlow;
    m_waiting.push_back({m_newest, m_sentCount, m_rows.Now(), m_rows.Now()});
    GiveUpUnheard();
}

void T0Reading::ProgramData(quint8 byte)
{
    TraceExchange& exchange = Newest();
    exchange.flow = DataFlow::ToCard;
    exchange.data.append(char(byte));
    m_rows.AddByte(TraceBuilder::ProgramSide, TraceKind::Data, m_newest, byte);
    m_waiting.back().lastNs = m_rows.Now();
    const bool burstUnderWay = m_waiting.front().exchange == m_newest && m_phase == CardPhase::Transfer;
    if (burstUnderWay && (--m_burst == 0 || Remaining(exchange) <= 0))
        m_phase = CardPhase::Procedure;
}

void T0Reading::Received(qint64 timeNs, quint8 byte)
{
    m_rows.SetTime(timeNs);
    if (!Echo(byte))
        CardByte(byte);
}

bool T0Reading::EchoInDoubt(qint64 timeNs, quint8 byte) const
{
    if (m_belief != EchoBelief::Unknown || (m_waiting.empty() && !PpsAwaited()))
        return false;
    const auto sent = std::find_if(m_unechoed.begin(), m_unechoed.end(),
                                   [timeNs](const SentByte& sent) { return timeNs - sent.timeNs <= EchoWindowNs; });
    return sent != m_unechoed.end() && sent->byte == byte;
}

void T0Reading::Believe(EchoBelief belief)
{
    m_belief = belief;
    if (belief == EchoBelief::Silent)
        m_unechoed.clear();
}

// A received byte that repeats the oldest byte sent and not yet echoed is its
// echo, where the interface echoes. Where it does, the card may answer between
// the echoes of bytes sent without waiting for it; the first received byte
// after a send that is no echo tells that the interface does not echo.
bool T0Reading::Echo(quint8 byte)
{
    if (m_belief == EchoBelief::Silent)
        return false;
    DropLostEchoes();
    if (m_unechoed.empty())
        return false;
    const SentByte sent = m_unechoed.front();
    if (sent.byte != byte) {
        if (m_belief == EchoBelief::Unknown)
            Believe(EchoBelief::Silent);
        return false;
    }
    m_belief = EchoBelief::Echoes;
    m_unechoed.pop_front();
    m_rows.AddByte(TraceBuilder::EchoSide, TraceKind::Echo, sent.ref, byte);
    return true;
}

void T0Reading::DropLostEchoes()
{
    while (!m_unechoed.empty() && m_rows.Now() - m_unechoed.front().timeNs > EchoWindowNs) {
        m_unechoed.pop_front();
        m_faults += m_belief == EchoBelief::Echoes;
    }
}

// An echoing interface repeats the bytes before the card can answer them.
void T0Reading::EchoBehind(qint64 sentUpTo)
{
    if (m_belief == EchoBelief::Echoes && !m_unechoed.empty() && m_unechoed.front().number <= sentUpTo)
        ++m_faults;
}

void T0Reading::CardByte(quint8 byte)
{
    if (m_atr >= 0)
        AtrByte(byte);
    else if (PpsAwaited() && PpsResponseByte(byte))
        return;
    else if (!m_waiting.empty())
        AnswerByte(byte);
    else if (m_atrExpected && (byte == 0x3B || byte == 0x3F))
        StartAtr(byte);
    else if (m_atrExpected && byte == DirectTsSeenInverse)
        Unrecognised(UnrecognisedReason::DirectTs, byte);
    else
        Unrecognised(UnrecognisedReason::NothingToAnswer, byte);
}

// A byte of the card's answer to the oldest command waiting.
void T0Reading::AnswerByte(quint8 byte)
{
    GiveUpUnheard();
    Waiting& waiting = m_waiting.front();
    EchoBehind(waiting.sentUpTo);
    waiting.lastNs = m_rows.Now();
    TraceExchange& exchange = Oldest();
    if (exchange.answerNs < 0)
        exchange.answerNs = m_rows.Now() - waiting.headerEndNs;
    switch (m_phase) {
    case CardPhase::Procedure: ProcedureByte(byte); return;
    case CardPhase::StatusTwo: StatusByte(byte); return;
    case CardPhase::Transfer:
        if (DecideFlow(exchange, DataFlow::FromCard))
            CardData(byte);
        else
            ProcedureByte(byte); // the card speaks before all data went to it
        return;
    }
}

void T0Reading::ProcedureByte(quint8 byte)
{
    TraceExchange& exchange = Oldest();
    const qint32 ref = m_waiting.front().exchange;
    const quint8 ins = exchange.Ins();
    if (byte == NullByte) {
        exchange.procedure.append(char(byte));
        m_rows.AddByte(TraceBuilder::CardSide, TraceKind::Null, ref, byte);
        m_phase = CardPhase::Procedure;
    } else if (byte == ins || byte == quint8(ins ^ 0xFF)) {
        exchange.procedure.append(char(byte));
        m_rows.AddByte(TraceBuilder::CardSide, TraceKind::Procedure, ref, byte, false);
        m_burst = byte == ins ? 256 : 1;
        m_phase = Remaining(exchange) > 0 || FlowOpen(exchange) ? CardPhase::Transfer : CardPhase::Procedure;
    } else if (IsStatusByte(byte)) {
        StatusByte(byte);
    } else {
        Unrecognised(UnrecognisedReason::NotProcedure, byte);
    }
}

void T0Reading::StatusByte(quint8 byte)
{
    TraceExchange& exchange = Oldest();
    const bool dataCame = exchange.flow == DataFlow::FromCard && !exchange.data.isEmpty();
    if (exchange.status.isEmpty() && !dataCame)
        exchange.responseWallNs = m_rows.WallNs();
    exchange.status.append(char(byte));
    m_rows.AddByte(TraceBuilder::CardSide, TraceKind::Status, m_waiting.front().exchange, byte);
    if (exchange.status.size() < 2) {
        m_phase = CardPhase::StatusTwo;
        return;
    }
    FinishOldest(ExchangeEnd::Complete);
    m_rows.CloseRow(TraceBuilder::CardSide); // nothing joins a status word
}

void T0Reading::CardData(quint8 byte)
{
    TraceExchange& exchange = Oldest();
    if (exchange.data.isEmpty())
        exchange.responseWallNs = m_rows.WallNs();
    exchange.data.append(char(byte));
    m_rows.AddByte(TraceBuilder::CardSide, TraceKind::Data, m_waiting.front().exchange, byte);
    if (--m_burst == 0 || Remaining(exchange) == 0)
        m_phase = CardPhase::Procedure;
}

void T0Reading::GiveUpUnheard()
{
    while (m_waiting.size() > 1 && m_rows.Now() - m_waiting.front().lastNs > m_wi * UnheardNsPerWi)
        FinishOldest(ExchangeEnd::NextCommand);
}

void T0Reading::FinishOldest(ExchangeEnd end)
{
    EndExchange(m_waiting.front().exchange, end);
    m_waiting.pop_front();
    m_phase = CardPhase::Procedure;
    m_burst = 0;
}

void T0Reading::EndExchange(qint32 index, ExchangeEnd end)
{
    TraceExchange& exchange = Exchange(index);
    exchange.end = end;
    m_faults += exchange.header.size() == HeaderSize && exchange.answerNs < 0;
    if (index == m_newest)
        m_newest = -1;
}

void T0Reading::StartPps(quint8 byte)
{
    m_rows.trace().ppss.append(TracePps());
    m_pps = qint32(m_rows.trace().ppss.size() - 1);
    PpsRequestByte(byte);
}

void T0Reading::PpsRequestByte(quint8 byte)
{
    Pps().request.append(char(byte));
    m_rows.AddByte(TraceBuilder::ProgramSide, TraceKind::PpsRequest, m_pps, byte);
    m_ppsSentUpTo = m_sentCount;
}

// A response begins with PPSS; a card byte that does not answers something else.
bool T0Reading::PpsResponseByte(quint8 byte)
{
    TracePps& pps = Pps();
    if (pps.response.isEmpty() && byte != Ppss) {
        EndPps();
        return false;
    }
    EchoBehind(m_ppsSentUpTo);
    pps.response.append(char(byte));
    m_rows.AddByte(TraceBuilder::CardSide, TraceKind::PpsResponse, m_pps, byte);
    if (PpsComplete(pps.response))
        m_pps = -1;
    return true;
}

bool T0Reading::PpsAwaited() const { return m_pps >= 0 && PpsComplete(Pps().request); }

void T0Reading::EndPps()
{
    m_faults += PpsComplete(Pps().request) && Pps().response.isEmpty();
    m_pps = -1;
}

void T0Reading::StartAtr(quint8 byte)
{
    m_rows.trace().atrs.append({Atr(), m_rows.WallNs()});
    m_atr = qint32(m_rows.trace().atrs.size() - 1);
    m_atrExpected = false;
    AtrByte(byte);
    m_atrRow = m_rows.OpenRow(TraceBuilder::CardSide);
}

void T0Reading::AtrByte(quint8 byte)
{
    Atr& atr = m_rows.trace().atrs[m_atr].atr;
    atr = ParseAtr(atr.bytes + char(byte));
    m_rows.AddByte(TraceBuilder::CardSide, TraceKind::Atr, m_atr, byte);
    if (atr.complete || atr.bytes.size() >= Atr::MaxLength)
        FinishAtr();
}

void T0Reading::FinishAtr()
{
    const AtrInterfaceByte* tc2 = m_rows.trace().atrs[m_atr].atr.Find('C', 2);
    m_wi = tc2 && tc2->protocol == 0 && tc2->value > 0 ? tc2->value : 10;
    m_atr = -1;
    m_ppsDue = true;
    m_rows.CloseRow(TraceBuilder::CardSide); // nothing joins an ATR that is done
}

void T0Reading::EndUnderWay(ExchangeEnd end)
{
    if (m_atr >= 0)
        FinishAtr();
    if (m_pps >= 0)
        EndPps();
    while (!m_waiting.empty())
        FinishOldest(end);
    if (m_newest >= 0)
        EndExchange(m_newest, end);
    m_faults += m_belief == EchoBelief::Echoes && !m_unechoed.empty();
    m_unechoed.clear();
    m_rows.CloseRows();
}

void T0Reading::Unrecognised(UnrecognisedReason reason, quint8 byte)
{
    m_rows.AddByte(TraceBuilder::CardSide, TraceKind::Unrecognised, qint32(reason), byte);
    ++m_faults;
}

T0Reading::Owed T0Reading::Owes() const
{
    if (m_atr >= 0)
        return Owed::Atr;
    if (PpsAwaited())
        return Owed::Answer;
    if (!m_waiting.empty()) // once the card has asked for the program's data, the program owes it
        return m_waiting.size() == 1 && m_phase == CardPhase::Transfer
                       && m_rows.trace().exchanges[m_waiting.front().exchange].flow == DataFlow::ToCard
                   ? Owed::Nothing
                   : Owed::Answer;
    return m_belief == EchoBelief::Echoes && !m_unechoed.empty() ? Owed::Answer : Owed::Nothing;
}

qint32 T0Reading::FirstUnsettledRow() const
{
    qint32 first = m_atr >= 0 ? std::min(m_atrRow, m_rows.FirstOpenRow()) : m_rows.FirstOpenRow();
    for (const Waiting& waiting : m_waiting)
        first = std::min(first, m_rows.trace().exchanges[waiting.exchange].headerRow);
    if (m_newest >= 0)
        first = std::min(first, m_rows.trace().exchanges[m_newest].headerRow);
    return first;
}
