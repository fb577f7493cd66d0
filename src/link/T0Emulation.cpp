#include "link/T0Emulation.h"

#include "link/Instructions.h"

namespace {

constexpr qsizetype HeaderSize = 5;
constexpr qsizetype StatusSize = 2;

} // namespace

void T0Emulation::Send(quint8 byte, Clock::time_point now)
{
    if (m_stage == Stage::Undecided) {
        Idle(now);
        if (m_stage == Stage::Undecided) {
            m_stage = Stage::Data;
            m_received += char(Ins());
        }
    }
    if (m_echo)
        m_received += char(byte);
    m_command += char(byte);
    if (m_stage == Stage::Header && m_command.size() == HeaderSize)
        HeaderDone(now);
    else if (m_stage == Stage::Data && m_command.size() == HeaderSize + P3())
        Exchange(m_command, false);
}

void T0Emulation::Idle(Clock::time_point now)
{
    if (m_stage == Stage::Undecided && now >= m_deadline)
        Exchange(m_command, true);
}

std::optional<T0Emulation::Clock::time_point> T0Emulation::Deadline() const
{
    if (m_stage == Stage::Undecided)
        return m_deadline;
    return std::nullopt;
}

void T0Emulation::LineControl(LineFunction function)
{
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
        return Exchange(m_command, true);
    if (P3() == 0) // no data either way: the APDU is the four bytes CLA INS P1 P2
        return Exchange(m_command.left(HeaderSize - 1), false);
    if (!instruction) {
        m_stage = Stage::Undecided;
        m_deadline = now + UnknownDataWait;
        return;
    }
    m_stage = Stage::Data;
    m_received += char(Ins());
}

// The command goes out; it is dropped first, so a failing card leaves the
// stream ready for the next header.
void T0Emulation::Exchange(const QByteArray& command, bool dataFromCard)
{
    const QByteArray apdu = command;
    const char ins = char(Ins());
    m_command.clear();
    m_stage = Stage::Header;
    const QByteArray response = m_card.Transmit(apdu);
    if (dataFromCard && response.size() > StatusSize)
        m_received += ins;
    m_received += response;
}
