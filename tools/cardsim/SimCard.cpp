#include "SimCard.h"

#include <algorithm>
#include <array>

namespace {

// In T=0 a length byte of 00 asks for 256 bytes.
int Le(quint8 p3)
{
    return p3 == 0 ? 256 : p3;
}

int Offset(const CardCommand& command)
{
    return command.p1 << 8 | command.p2;
}

} // namespace

const SimCard::Instruction* SimCard::Find(quint8 ins)
{
    static constexpr std::array<Instruction, 6> table{{
        {0xA4, true, &SimCard::select},
        {0xC0, false, &SimCard::getResponse},
        {0xB0, false, &SimCard::readBinary},
        {0xB2, false, &SimCard::readRecord},
        {0xD6, true, &SimCard::updateBinary},
        {0x20, true, &SimCard::verify},
    }};
    const auto found = std::find_if(table.begin(), table.end(), [ins](const Instruction& i) { return i.ins == ins; });
    return found == table.end() ? nullptr : &*found;
}

SimCard::SimCard(const CardProfile& profile) : m_files(profile.files)
{
    for (const CardPin& pin : profile.pins)
        m_pins.push_back({pin, pin.tries});
}

QByteArray SimCard::DefaultAtr()
{
    return CardProfile::DefaultAtr();
}

bool SimCard::Accepts(quint8 cla, quint8 ins)
{
    return (cla == 0x00 || cla == 0xA0) && Find(ins);
}

bool SimCard::TakesData(quint8 ins)
{
    const Instruction* instruction = Find(ins);
    return instruction && instruction->takesData;
}

CardAnswer SimCard::run(const CardCommand& command)
{
    const CardClass cardClass = command.cla == 0xA0 ? CardClass::Gsm : CardClass::Iso;
    const Instruction* instruction = Find(command.ins);
    Result result;
    if (command.cla != 0x00 && command.cla != 0xA0)
        result = {Outcome::UnknownClass};
    else if (!instruction)
        result = {Outcome::UnknownIns};
    else {
        if (command.ins != 0xC0)
            m_waiting.clear();
        result = (this->*instruction->handler)(command);
    }
    return {result.data, StatusWord(result.outcome, cardClass, result.detail)};
}

void SimCard::reset()
{
    m_current = 0;
    m_waiting.clear();
    for (PinState& state : m_pins)
        state.verified = false;
}

SimCard::Result SimCard::select(const CardCommand& command)
{
    if (command.p3 != 2 || command.data.size() != 2)
        return {Outcome::WrongLength};
    const quint16 id = quint16(quint8(command.data[0]) << 8 | quint8(command.data[1]));
    const std::optional<std::size_t> found = find(id);
    if (!found)
        return {Outcome::FileNotFound};
    m_current = *found;
    m_waiting = FileInformation(current());
    return {Outcome::ResponseWaiting, quint8(m_waiting.size())};
}

SimCard::Result SimCard::getResponse(const CardCommand& command)
{
    const int le = Le(command.p3);
    if (le > m_waiting.size())
        return {Outcome::WrongLength};
    const QByteArray data = m_waiting.left(le);
    m_waiting.clear();
    return {Outcome::Done, 0, data};
}

SimCard::Result SimCard::readBinary(const CardCommand& command)
{
    if (auto refused = refusal(FileKind::Transparent, current().read))
        return *refused;
    const int offset = Offset(command);
    const int length = Le(command.p3);
    if (offset + length > current().data.size())
        return {Outcome::OutOfRange};
    return {Outcome::Done, 0, current().data.mid(offset, length)};
}

SimCard::Result SimCard::readRecord(const CardCommand& command)
{
    if (command.p2 != 0x04)
        return {Outcome::WrongP1P2};
    if (auto refused = refusal(FileKind::LinearFixed, current().read))
        return *refused;
    const CardFile& file = current();
    if (command.p1 == 0 || command.p1 > file.recordCount())
        return {Outcome::RecordNotFound};
    if (Le(command.p3) != file.recordLength)
        return {Outcome::WrongLe, quint8(file.recordLength)};
    return {Outcome::Done, 0, file.data.mid((command.p1 - 1) * file.recordLength, file.recordLength)};
}

SimCard::Result SimCard::updateBinary(const CardCommand& command)
{
    if (command.p3 == 0)
        return {Outcome::WrongLength};
    if (auto refused = refusal(FileKind::Transparent, current().update))
        return *refused;
    const int offset = Offset(command);
    if (offset + command.data.size() > current().data.size())
        return {Outcome::OutOfRange};
    current().data.replace(offset, command.data.size(), command.data);
    return {Outcome::Done};
}

SimCard::Result SimCard::verify(const CardCommand& command)
{
    if (command.p1 != 0x00)
        return {Outcome::WrongP1P2};
    PinState* state = findPin(command.p2);
    if (!state)
        return {Outcome::PinNotFound};
    if (command.p3 != state->pin.value.size())
        return {Outcome::WrongLength};
    if (state->triesLeft == 0)
        return {Outcome::PinBlocked};
    state->verified = command.data == state->pin.value;
    state->triesLeft = state->verified ? state->pin.tries : state->triesLeft - 1;
    if (state->verified)
        return {Outcome::Done};
    return {Outcome::WrongPin, quint8(state->triesLeft)};
}

std::optional<SimCard::Result> SimCard::refusal(FileKind kind, Access access) const
{
    const CardFile& file = m_files[m_current];
    if (file.kind == FileKind::Master || file.kind == FileKind::Dedicated)
        return Result{Outcome::NoEfSelected};
    if (file.kind != kind)
        return Result{Outcome::WrongStructure};
    if (!permits(access))
        return Result{Outcome::SecurityNotMet};
    return std::nullopt;
}

bool SimCard::permits(Access access) const
{
    if (access == Access::Always || access == Access::Never)
        return access == Access::Always;
    const auto pin = std::find_if(m_pins.begin(), m_pins.end(),
                                  [access](const PinState& state) { return state.pin.number == quint8(access); });
    return pin != m_pins.end() && pin->verified;
}

// The file in the current DF (or the current DF itself), else the first of that id anywhere.
std::optional<std::size_t> SimCard::find(quint16 id) const
{
    const CardFile& selected = m_files[m_current];
    const bool directory = selected.kind == FileKind::Master || selected.kind == FileKind::Dedicated;
    const quint16 folder = directory ? selected.id : selected.parent;
    std::optional<std::size_t> anywhere;
    for (std::size_t index = 0; index < m_files.size(); ++index) {
        if (m_files[index].id != id)
            continue;
        if (m_files[index].parent == folder || id == folder)
            return index;
        anywhere = anywhere.value_or(index);
    }
    return anywhere;
}

SimCard::PinState* SimCard::findPin(quint8 number)
{
    const auto found =
        std::find_if(m_pins.begin(), m_pins.end(), [number](const PinState& state) { return state.pin.number == number; });
    return found == m_pins.end() ? nullptr : &*found;
}
