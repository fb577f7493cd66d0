#include "link/T0Emulation.h"

#include "link/Instructions.h"

#include <algorithm>
#include <utility>

namespace {

constexpr qsizetype HeaderSize = 5;
constexpr qsizetype StatusSize = 2;
constexpr quint8 GetResponseIns = 0xC0;

// GET RESPONSE in an inter-industry class or in GSM 11.11's class A0.
bool IsGetResponse(const QByteArray& apdu)
{
    const auto cla = quint8(apdu[0]);
    return apdu.size() == HeaderSize && quint8(apdu[1]) == GetResponseIns && (cla < 0x80 || cla == 0xA0);
}

} // namespace

void T0Emulation::Send(quint8 byte, Clock::time_point now)
{
    Idle(now); // what is due goes to the card before this byte
    if (m_stage == Stage::Undecided)
        GuessDataToCard();
    if (m_echo)
        m_received += char(byte);
    if (m_resetHeld)
        return Drop(ReaderNoteKind::HeldInReset, QByteArray(1, char(byte)), now);
    Gather(byte, now);
}

void T0Emulation::Idle(Clock::time_point now)
{
    if (m_stage == Stage::Undecided && now >= m_deadline)
        GuessDataFromCard(now);
    if (m_dropped && now >= m_dropped->until)
        TellDropped();
    if (m_ready)
        Exchange();
}

std::optional<T0Emulation::Clock::time_point> T0Emulation::Deadline() const
{
    std::optional<Clock::time_point> first;
    const auto consider = [&first](Clock::time_point when) { first = first ? std::min(*first, when) : when; };
    if (m_ready)
        consider(m_ready->since);
    if (m_stage == Stage::Undecided)
        consider(m_deadline);
    if (m_dropped)
        consider(m_dropped->until);
    return first;
}

void T0Emulation::LineControl(LineFunction function)
{
    if (function == LineFunction::SetRts)
        return HoldReset();
    TellDropped();
    if (m_ready)
        Exchange();
    if (function == LineFunction::ClrRts && m_resetHeld)
        ReleaseReset();
}

QByteArray T0Emulation::TakeReceived()
{
    return std::exchange(m_received, {});
}

QList<ReaderNote> T0Emulation::TakeNotes()
{
    return std::exchange(m_notes, {});
}

void T0Emulation::Gather(quint8 byte, Clock::time_point now)
{
    m_command += char(byte);
    if (m_stage == Stage::Header && NoCardTakes(m_command))
        return Drop(ReaderNoteKind::NotACommand, std::exchange(m_command, {}), now);
    TellDropped(); // a command has begun: the bytes before it are done with
    if (m_stage == Stage::Header && m_command.size() == HeaderSize)
        HeaderDone(now);
    else if (m_stage == Stage::Data && m_command.size() == HeaderSize + P3())
        Complete(m_command, false, now);
}

void T0Emulation::HeaderDone(Clock::time_point now)
{
    const Instruction* instruction = FindInstruction(m_command);
    if ((instruction && instruction->flow == DataFlow::FromCard) || (!instruction && P3() == 0))
        return Complete(m_command, true, now);
    if (P3() == 0) // no data either way: the APDU is the four bytes CLA INS P1 P2
        return Complete(m_command.left(HeaderSize - 1), false, now);
    if (!instruction) {
        m_stage = Stage::Undecided;
        m_deadline = now + UnknownDataWait;
        return;
    }
    m_stage = Stage::Data;
    m_received += char(Ins());
}

void T0Emulation::GuessDataToCard()
{
    m_notes.append({ReaderNoteKind::GuessedToCard, m_command});
    m_stage = Stage::Data;
    m_received += char(Ins());
}

void T0Emulation::GuessDataFromCard(Clock::time_point since)
{
    m_notes.append({ReaderNoteKind::GuessedFromCard, m_command});
    Complete(m_command, true, since);
}

void T0Emulation::Complete(const QByteArray& apdu, bool dataFromCard, Clock::time_point now)
{
    m_ready = Ready{apdu, char(Ins()), dataFromCard, now};
    m_command.clear();
    m_stage = Stage::Header;
}

// The command is dropped before it goes, so a failing card leaves the stream
// ready for the next header.
void T0Emulation::Exchange()
{
    const Ready ready = *std::exchange(m_ready, std::nullopt);
    const QByteArray response = Respond(ready);
    if (ready.dataFromCard && response.size() > StatusSize)
        m_received += ready.ins;
    m_received += response;
}

// A T=1 card is sent a command with data as case 4, and a GET RESPONSE for the
// data it gave is answered from them; every other command goes as it is.
QByteArray T0Emulation::Respond(const Ready& ready)
{
    if (m_card.Protocol() != 1)
        return m_card.Transmit(ready.apdu);
    if (IsGetResponse(ready.apdu) && m_waiting.Holds())
        return m_waiting.Give(quint8(ready.apdu[4]));
    m_waiting.Clear();
    if (ready.apdu.size() <= HeaderSize) // no data to the card
        return m_card.Transmit(ready.apdu);
    return m_waiting.Keep(m_card.Transmit(ready.apdu + '\0'));
}

void T0Emulation::Drop(ReaderNoteKind kind, const QByteArray& bytes, Clock::time_point now)
{
    if (m_dropped && m_dropped->kind != kind)
        TellDropped();
    if (!m_dropped)
        m_dropped = Dropped{kind, {}, now};
    m_dropped->bytes += bytes;
    m_dropped->until = now + UnknownDataWait;
}

void T0Emulation::TellDropped()
{
    if (!m_dropped)
        return;
    m_notes.append({m_dropped->kind, m_dropped->bytes});
    m_dropped.reset();
}

// What was complete before goes to the card first, a header still waiting for
// its data as one asking for P3 bytes; a command still being sent is dropped.
// The card is held in reset even when the command before fails at it.
void T0Emulation::HoldReset()
{
    if (m_stage == Stage::Undecided)
        GuessDataFromCard(m_deadline);
    TellDropped();
    if (!m_command.isEmpty())
        m_notes.append({ReaderNoteKind::HeldInReset, std::exchange(m_command, {})});
    m_stage = Stage::Header;
    m_resetHeld = true;
    if (m_ready)
        Exchange();
}

void T0Emulation::ReleaseReset()
{
    m_resetHeld = false;
    m_waiting.Clear();
    m_received += m_card.Reset();
}
