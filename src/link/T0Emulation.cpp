#include "link/T0Emulation.h"

#include "link/Instructions.h"

namespace {

constexpr qsizetype HeaderSize = 5;
constexpr qsizetype StatusSize = 2;

} // namespace

void T0Emulation::Send(quint8 byte, Clock::time_point now)
{
    Idle(now); // what is due goes to the card before this byte
    if (m_stage == Stage::Undecided) {
        m_stage = Stage::Data;
        m_received += char(Ins());
    }
    if (m_echo)
        m_received += char(byte);
    m_command += char(byte);
    if (m_stage == Stage::Header && m_command.size() == HeaderSize)
        HeaderDone(now);
    else if (m_stage == Stage::Data && m_command.size() == HeaderSize + P3())
        Complete(m_command, false, now);
}

void T0Emulation::Idle(Clock::time_point now)
{
    if (m_stage == Stage::Undecided && now >= m_deadline)
        Complete(m_command, true, now);
    if (m_ready)
        Exchange();
}

std::optional<T0Emulation::Clock::time_point> T0Emulation::Deadline() const
{
    if (m_ready)
        return m_ready->since;
    if (m_stage == Stage::Undecided)
        return m_deadline;
    return std::nullopt;
}

void T0Emulation::LineControl(LineFunction function)
{
    if (m_ready)
        Exchange();
    if (function == LineFunction::SetRts)
        m_resetHeld = true;
    if (function != LineFunction::ClrRts || !m_resetHeld)
        return;
    m_resetHeld = false;
    m_command.clear();
    m_stage = Stage::Header;
    m_received += m_card.Reset();
}

QByteArray T0Emulation::TakeReceived()
{
    return std::exchange(m_received, {});
}

void T0Emulation::HeaderDone(Clock::time_point now)
{
    const Instruction* instruction = FindInstruction(quint8(m_command[0]), Ins());
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
    const QByteArray response = m_card.Transmit(ready.apdu);
    if (ready.dataFromCard && response.size() > StatusSize)
        m_received += ready.ins;
    m_received += response;
}
