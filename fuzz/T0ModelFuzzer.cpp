// A model-based check of the T=0 decoder. The input chooses a well-formed session:
// an interface that echoes or not (chosen at each open), ATRs and resets through
// the lines, a PPS after an ATR, commands of every case with their data either
// way, sent at once or as the card asks, procedure bytes ACK, INS xor FF and
// NULL, status words (61xx and 6Cxx among them), and commands sent before the
// card answered the one before. The session is played into a timeline with what
// it holds written down; the decoder must find the same exchanges, ATRs, PPS and
// echo, no unrecognised byte, and must say the card owes something whenever it does.
//
// Sessions keep to what the traffic lets a reader tell apart:
//  - after the header of an instruction the table does not know, the program
//    sends nothing but that command's data before the card's first byte;
//  - such an instruction the card acknowledges transfers data, and with P3 = 00
//    only from the card (256 bytes);
//  - an echoing interface repeats each byte before the card's next byte.
//
// Input: the session's choices, one byte each; past its end every choice is 0.
#include "FuzzSupport.h"

#include "trace/Pps.h"
#include "trace/T0Decoder.h"

#include <cstdio>

namespace {

constexpr quint8 NullByte = 0x60;
constexpr int MostExchanges = 64;

const QByteArray Atrs[] = {QByteArray::fromHex("3F 65 25 00 2C 09 69 90 00"), QByteArray::fromHex("3B 00"),
                           QByteArray::fromHex("3F 96 18 80 1F C7 80 31 E0 73 FE 21 2B")};
// Instructions known to the table in one class or both, and some it does not know.
constexpr quint8 Instructions[] = {0xA4, 0xB0, 0xB2, 0xC0, 0xD6, 0xDC, 0x20, 0x04, 0x44, 0xF2, 0xFA, 0x88, 0x12, 0x5A};
constexpr quint8 Classes[] = {0xA0, 0x00, 0x80, 0x60, 0x4F};

// What a session holds, as the decoder should find it.
struct Played {
    QList<TraceExchange> exchanges; // header, flow, data, procedure bytes, status word
    QList<QByteArray> atrs;
    QList<TracePps> ppss;
    qsizetype echoBytes = 0;
    QList<bool> owed; // after each event: the card owes an ATR or an answer
};

struct Command {
    qint32 exchange;
    DataFlow flow; // the way its data truly goes
    bool known;
    bool eager;    // its data went right after the header
};

class Session {
public:
    explicit Session(Fuzz::Input& input) : m_input(input) {}

    void Play();
    const LinkTimeline& Timeline() const { return m_timeline; }
    const Played& Truth() const { return m_played; }

private:
    int Pick(int choices) { return m_input.Byte() % choices; }
    QByteArray RandomBytes(int count);
    void Tick() { m_now += (1 + Pick(16)) * 100'000; }
    void Record() { m_played.owed.append(m_outstanding > 0); }

    void Open();
    void Reset();
    void CardAtr();
    void Pps();
    void Batch();
    Command NewCommand();
    bool Pipelinable(const Command& command) const;
    void Answer(const Command& command);
    void Transfer(const Command& command, int& sent);
    void Nulls(TraceExchange& exchange);
    void Procedure(TraceExchange& exchange, quint8 byte);

    // The program sends; the byte at `owedAt` completes a header, a PPS request
    // or data the card asked for, and the card owes nothing from the byte at `freedAt`.
    void Send(const QByteArray& bytes, qsizetype owedAt = -1, qsizetype freedAt = -1);
    void Received(const QByteArray& bytes);
    // The card's bytes wait until the program or the session's end needs them, then
    // arrive in chunks; `answered` marks the last as ending an answer.
    void CardSays(const QByteArray& bytes, bool answered = false);
    void FlushCard();

    Fuzz::Input& m_input;
    LinkTimeline m_timeline;
    Played m_played;
    qint64 m_now = 0;
    bool m_echo = false;
    int m_outstanding = 0;
    QByteArray m_cardBytes;
    QList<int> m_owedChange; // per card byte: what the card owes after it, less what before
};

QByteArray Session::RandomBytes(int count)
{
    QByteArray bytes(count, '\0');
    for (char& byte : bytes)
        byte = char(m_input.Byte());
    return bytes;
}

void Session::Play()
{
    Open();
    while (!m_input.AtEnd() && m_played.exchanges.size() < MostExchanges) {
        const int choice = Pick(10);
        if (choice == 0)
            Open();
        else if (choice == 1)
            Reset();
        else
            Batch();
    }
    FlushCard();
}

void Session::Open()
{
    FlushCard();
    Tick();
    if (!m_timeline.IsEmpty()) {
        m_timeline.AddClosed(m_now);
        Record();
    }
    m_timeline.AddOpened(m_now, 1'700'000'000'000'000'000 + m_now);
    Record();
    m_echo = Pick(2);
    CardAtr();
}

void Session::Reset()
{
    FlushCard();
    Tick();
    m_timeline.AddLineControl(m_now, LineFunction::ClrRts);
    Record();
    CardAtr();
}

void Session::CardAtr()
{
    const QByteArray& atr = Atrs[Pick(std::size(Atrs))];
    m_played.atrs.append(atr);
    CardSays(atr);
    m_owedChange[m_owedChange.size() - atr.size()] += 1; // owed from its first byte to its last
    m_owedChange.back() -= 1;
    if (Pick(3) == 0)
        Pps();
}

void Session::Pps()
{
    const quint8 pps0 = quint8((m_input.Byte() & 0x70) | Pick(2));
    QByteArray request{"\xFF"};
    request.append(char(pps0));
    request += RandomBytes(PpsLength(request) - 3);
    request.append(char(XorOf(request) ^ (Pick(8) == 0)));
    QByteArray response = request;
    if (pps0 & 0x10 && Pick(2)) { // Fi and Di refused
        response.remove(2, 1);
        response[1] = char(pps0 & ~0x10);
        response.back() = char(XorOf(response.chopped(1)));
    }
    Send(request, request.size() - 1);
    CardSays(response, true);
    m_played.ppss.append({request, response});
}

void Session::Batch()
{
    QList<Command> batch{NewCommand()};
    while (Pipelinable(batch.last()) && batch.size() < 3 && Pick(3) == 0)
        batch.append(NewCommand());
    for (const Command& command : batch)
        Answer(command);
}

Command Session::NewCommand()
{
    QByteArray header;
    header.append(char(Classes[Pick(std::size(Classes))])).append(char(Instructions[Pick(std::size(Instructions))]));
    if (Pick(4) == 0)
        header[0] = char(m_input.Byte() & 0xFE); // not FF: right after an ATR that begins a PPS
    header += RandomBytes(2);
    header.append(char(Pick(4) == 0 ? m_input.Byte() : Pick(8)));
    const Instruction* instruction = FindInstruction(header);
    Command command{qint32(m_played.exchanges.size()), DataFlow(Pick(3)), instruction != nullptr, false};
    if (instruction)
        command.flow = instruction->flow;
    else if (command.flow == DataFlow::ToCard && header[4] == 0)
        command.flow = DataFlow::None;
    TraceExchange exchange;
    exchange.header = header;
    exchange.flow = command.known ? command.flow : DataFlow::None;
    if (command.flow == DataFlow::ToCard)
        exchange.data = RandomBytes(DataLength(quint8(header[4]), DataFlow::ToCard));
    command.eager = !exchange.data.isEmpty() && Pick(2);
    m_played.exchanges.append(exchange);
    Send(header + (command.eager ? exchange.data : QByteArray()), 4);
    return command;
}

// Whether the program may send the next command before the card answers this one.
bool Session::Pipelinable(const Command& command) const
{
    const int toCard = DataLength(quint8(m_played.exchanges[command.exchange].header[4]), DataFlow::ToCard);
    if (command.flow == DataFlow::ToCard)
        return command.eager || toCard == 0;
    return command.known || toCard == 0;
}

void Session::Answer(const Command& command)
{
    TraceExchange& exchange = m_played.exchanges[command.exchange];
    int sent = command.eager ? int(exchange.data.size()) : 0;
    Nulls(exchange);
    const bool mayTransfer = command.known || command.flow != DataFlow::None;
    if (mayTransfer && Pick(4) != 0)
        Transfer(command, sent);
    exchange.data.truncate(command.flow == DataFlow::ToCard ? sent : exchange.data.size());
    if (!command.known && !exchange.data.isEmpty())
        exchange.flow = command.flow;
    Nulls(exchange);
    exchange.status = QByteArray(1, char(Pick(2) ? 0x61 + Pick(15) : 0x90 + Pick(16))) + RandomBytes(1);
    CardSays(exchange.status, true);
}

// Procedure bytes and the data they let through; after a one-byte procedure
// byte the card may end early with its status word.
void Session::Transfer(const Command& command, int& sent)
{
    TraceExchange& exchange = m_played.exchanges[command.exchange];
    const quint8 ins = exchange.Ins();
    if (command.flow == DataFlow::None || (command.flow == DataFlow::ToCard && command.eager)) {
        Procedure(exchange, ins);
        return;
    }
    const int length = DataLength(exchange.P3(), command.flow);
    for (int done = 0; done < length;) {
        const bool ack = Pick(2);
        Procedure(exchange, ack ? ins : quint8(ins ^ 0xFF));
        const int count = ack ? length - done : 1;
        if (command.flow == DataFlow::FromCard) {
            const QByteArray data = RandomBytes(count);
            exchange.data += data;
            CardSays(data);
        } else {
            // A card that has asked for the program's data owes nothing until the
            // program has sent what it asked for, from when the data's way is known:
            // the procedure byte, or for an unknown instruction its first data byte.
            const bool wayKnown = command.known || sent > 0;
            if (wayKnown)
                m_owedChange.back() -= 1;
            Send(exchange.data.mid(sent, count), count - 1, wayKnown ? -1 : 0);
            sent += count;
        }
        done += count;
        if (!ack && Pick(6) == 0)
            return;
        Nulls(exchange);
    }
}

void Session::Nulls(TraceExchange& exchange)
{
    for (int count = Pick(8) == 0 ? 1 + Pick(2) : 0; count > 0; --count)
        Procedure(exchange, NullByte);
}

void Session::Procedure(TraceExchange& exchange, quint8 byte)
{
    exchange.procedure.append(char(byte));
    CardSays(QByteArray(1, char(byte)));
}

void Session::Send(const QByteArray& bytes, qsizetype owedAt, qsizetype freedAt)
{
    FlushCard();
    const bool echoEach = Pick(2);
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        Tick();
        m_timeline.AddSent(m_now, bytes.mid(i, 1));
        m_outstanding += (i == owedAt) - (i == freedAt);
        Record();
        if (m_echo && echoEach)
            Received(bytes.mid(i, 1));
    }
    if (m_echo && !echoEach && !bytes.isEmpty())
        Received(bytes);
}

// Bytes from the interface (echo) in one or two chunks.
void Session::Received(const QByteArray& bytes)
{
    const qsizetype split = Pick(int(bytes.size()) + 1);
    for (const QByteArray& chunk : {bytes.first(split), bytes.sliced(split)}) {
        if (chunk.isEmpty())
            continue;
        Tick();
        m_timeline.AddReceived(m_now, chunk);
        m_played.echoBytes += chunk.size();
        Record();
    }
}

void Session::CardSays(const QByteArray& bytes, bool answered)
{
    m_cardBytes += bytes;
    m_owedChange.resize(m_cardBytes.size());
    m_owedChange.back() -= answered;
}

void Session::FlushCard()
{
    for (qsizetype at = 0; at < m_cardBytes.size();) {
        const qsizetype count = 1 + Pick(int(m_cardBytes.size() - at));
        Tick();
        m_timeline.AddReceived(m_now, QByteArrayView(m_cardBytes).sliced(at, count));
        for (qsizetype i = at; i < at + count; ++i)
            m_outstanding += m_owedChange[i];
        Record();
        at += count;
    }
    m_cardBytes.clear();
    m_owedChange.clear();
}

// The timeline, one event a line, for a finding's report.
void Print(const LinkTimeline& timeline)
{
    static const char* const kinds[] = {">", "<", "open", "close", "baud", "line"};
    for (qsizetype i = 0; i < timeline.Size(); ++i) {
        const LinkEvent event = timeline.At(i);
        std::fprintf(stderr, "%s %s; ", kinds[int(event.kind)], event.bytes.toByteArray().toHex(' ').constData());
    }
    std::fprintf(stderr, "\n");
}

bool SameExchange(const TraceExchange& found, const TraceExchange& played)
{
    return found.header == played.header && found.flow == played.flow && found.data == played.data
           && found.procedure == played.procedure && found.status == played.status && found.end == ExchangeEnd::Complete;
}

bool Found(const Trace& trace, const Played& played)
{
    bool same = trace.exchanges.size() == played.exchanges.size() && trace.atrs.size() == played.atrs.size()
                && trace.ppss.size() == played.ppss.size();
    for (qsizetype i = 0; same && i < played.exchanges.size(); ++i)
        same = SameExchange(trace.exchanges[i], played.exchanges[i]);
    for (qsizetype i = 0; same && i < played.atrs.size(); ++i)
        same = trace.atrs[i].atr.bytes == played.atrs[i];
    for (qsizetype i = 0; same && i < played.ppss.size(); ++i)
        same = trace.ppss[i].request == played.ppss[i].request && trace.ppss[i].response == played.ppss[i].response;
    qsizetype echoBytes = 0;
    for (const TraceRow& row : trace.rows) {
        echoBytes += row.kind == TraceKind::Echo ? row.size : 0;
        same = same && row.kind != TraceKind::Unrecognised;
    }
    return same && echoBytes == played.echoBytes;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    Session session(input);
    session.Play();
    const LinkTimeline& timeline = session.Timeline();
    T0Decoder decoder;
    bool owedTold = true;
    for (qsizetype i = 0; i < timeline.Size(); ++i) {
        decoder.Add(timeline.At(i));
        owedTold = owedTold && (!session.Truth().owed[i] || decoder.Owes() != T0Decoder::Owed::Nothing);
    }
    const bool found = Found(decoder.Finish(), session.Truth());
    if (!owedTold || !found)
        Print(timeline);
    Fuzz::Require(owedTold, "the decoder says the card owes something while it does");
    Fuzz::Require(found, "the decoder finds the session that was played");
    return 0;
}
