#include "link/Instructions.h"

#include <algorithm>
#include <span>

namespace {

constexpr auto None = DataFlow::None;
constexpr auto ToCard = DataFlow::ToCard;
constexpr auto FromCard = DataFlow::FromCard;

// Inter-industry commands (ISO 7816-4, with 7816-8 and 7816-9, and those a UICC
// adds in the inter-industry classes, ETSI TS 102 221), sorted by INS.
constexpr Instruction IsoInstructions[] = {
    {0x04, "DEACTIVATE FILE", None},
    {0x0C, "ERASE RECORD", None},
    {0x0E, "ERASE BINARY", ToCard},
    {0x0F, "ERASE BINARY", ToCard},
    {0x20, "VERIFY", ToCard},
    {0x21, "VERIFY", ToCard},
    {0x22, "MANAGE SECURITY ENVIRONMENT", ToCard},
    {0x24, "CHANGE REFERENCE DATA", ToCard},
    {0x26, "DISABLE VERIFICATION REQUIREMENT", ToCard},
    {0x28, "ENABLE VERIFICATION REQUIREMENT", ToCard},
    {0x2A, "PERFORM SECURITY OPERATION", ToCard},
    {0x2C, "RESET RETRY COUNTER", ToCard},
    {0x44, "ACTIVATE FILE", None},
    {0x46, "GENERATE ASYMMETRIC KEY PAIR", ToCard},
    {0x70, "MANAGE CHANNEL", FromCard},
    {0x73, "MANAGE SECURE CHANNEL", ToCard},
    {0x75, "TRANSACT DATA", ToCard},
    {0x82, "EXTERNAL AUTHENTICATE", ToCard},
    {0x84, "GET CHALLENGE", FromCard},
    {0x86, "GENERAL AUTHENTICATE", ToCard},
    {0x87, "GENERAL AUTHENTICATE", ToCard},
    {0x88, "INTERNAL AUTHENTICATE", ToCard},
    {0x89, "AUTHENTICATE", ToCard},
    {0xA0, "SEARCH BINARY", ToCard},
    {0xA1, "SEARCH BINARY", ToCard},
    {0xA2, "SEARCH RECORD", ToCard},
    {0xA4, "SELECT", ToCard},
    {0xB0, "READ BINARY", FromCard},
    {0xB1, "READ BINARY", ToCard},
    {0xB2, "READ RECORD", FromCard},
    {0xB3, "READ RECORD", ToCard},
    {0xC0, "GET RESPONSE", FromCard},
    {0xC2, "ENVELOPE", ToCard},
    {0xC3, "ENVELOPE", ToCard},
    {0xCA, "GET DATA", FromCard},
    {0xCB, "GET DATA", ToCard},
    {0xD0, "WRITE BINARY", ToCard},
    {0xD1, "WRITE BINARY", ToCard},
    {0xD2, "WRITE RECORD", ToCard},
    {0xD6, "UPDATE BINARY", ToCard},
    {0xD7, "UPDATE BINARY", ToCard},
    {0xDA, "PUT DATA", ToCard},
    {0xDB, "PUT DATA", ToCard},
    {0xDC, "UPDATE RECORD", ToCard},
    {0xDD, "UPDATE RECORD", ToCard},
    {0xE0, "CREATE FILE", ToCard},
    {0xE2, "APPEND RECORD", ToCard},
    {0xE4, "DELETE FILE", ToCard},
    {0xE6, "TERMINATE DF", None},
    {0xE8, "TERMINATE EF", None},
};

// The SIM commands of GSM 11.11, with the toolkit's (GSM 11.14), sorted by INS.
constexpr Instruction GsmInstructions[] = {
    {0x04, "INVALIDATE", None},
    {0x10, "TERMINAL PROFILE", ToCard},
    {0x12, "FETCH", FromCard},
    {0x14, "TERMINAL RESPONSE", ToCard},
    {0x20, "VERIFY CHV", ToCard},
    {0x24, "CHANGE CHV", ToCard},
    {0x26, "DISABLE CHV", ToCard},
    {0x28, "ENABLE CHV", ToCard},
    {0x2C, "UNBLOCK CHV", ToCard},
    {0x32, "INCREASE", ToCard},
    {0x44, "REHABILITATE", None},
    {0x88, "RUN GSM ALGORITHM", ToCard},
    {0xA2, "SEEK", ToCard},
    {0xA4, "SELECT", ToCard},
    {0xB0, "READ BINARY", FromCard},
    {0xB2, "READ RECORD", FromCard},
    {0xC0, "GET RESPONSE", FromCard},
    {0xC2, "ENVELOPE", ToCard},
    {0xD6, "UPDATE BINARY", ToCard},
    {0xDC, "UPDATE RECORD", ToCard},
    {0xF2, "STATUS", FromCard},
    {0xFA, "SLEEP", None},
};

// The proprietary classes' commands of a UICC (ETSI TS 102 221, with the toolkit's
// of TS 102 223) and of a GlobalPlatform card, sorted by INS. Data that a command
// both sends and expects back (case 4) goes to the card.
constexpr Instruction ProprietaryInstructions[] = {
    {0x10, "TERMINAL PROFILE", ToCard},
    {0x12, "FETCH", FromCard},
    {0x14, "TERMINAL RESPONSE", ToCard},
    {0x32, "INCREASE", ToCard},
    {0x50, "INITIALIZE UPDATE", ToCard},
    {0x76, "SUSPEND UICC", ToCard},
    {0x78, "GET IDENTITY", ToCard},
    {0x7A, "EXCHANGE CAPABILITIES", ToCard},
    {0x82, "EXTERNAL AUTHENTICATE", ToCard},
    {0xAA, "TERMINAL CAPABILITY", ToCard},
    {0xC2, "ENVELOPE", ToCard},
    {0xCA, "GET DATA", FromCard},
    {0xCB, "RETRIEVE DATA", ToCard},
    {0xD8, "PUT KEY", ToCard},
    {0xDB, "SET DATA", ToCard},
    {0xE2, "STORE DATA", ToCard},
    {0xE4, "DELETE", ToCard},
    {0xE6, "INSTALL", ToCard},
    {0xE8, "LOAD", ToCard},
    {0xF0, "SET STATUS", None},
    {0xF2, "STATUS", FromCard},
};

// STATUS of a UICC and GET STATUS of GlobalPlatform share INS F2 in class 80. GET
// STATUS names the kind of registry entry in P1's high nibble (80, 40, 20, 10);
// STATUS has the application's state there (00 to 02) and asks no data of its own.
constexpr Instruction GetStatus{0xF2, "GET STATUS", ToCard};

constexpr bool SortedByIns(std::span<const Instruction> table)
{
    return std::is_sorted(table.begin(), table.end(),
                          [](const Instruction& a, const Instruction& b) { return a.ins < b.ins; });
}
static_assert(SortedByIns(IsoInstructions) && SortedByIns(GsmInstructions) && SortedByIns(ProprietaryInstructions));

const Instruction* Find(std::span<const Instruction> table, quint8 ins)
{
    const auto found = std::lower_bound(table.begin(), table.end(), ins,
                                        [](const Instruction& entry, quint8 wanted) { return entry.ins < wanted; });
    return found != table.end() && found->ins == ins ? &*found : nullptr;
}

} // namespace

InstructionSet InstructionSetOf(quint8 cla)
{
    return cla == 0xA0 ? InstructionSet::Gsm1111 : InstructionSet::Iso7816;
}

const Instruction* FindInstruction(QByteArrayView header)
{
    if (header.size() < 2)
        return nullptr;
    const auto cla = quint8(header[0]);
    const auto ins = quint8(header[1]);
    if (InstructionSetOf(cla) == InstructionSet::Gsm1111)
        return Find(GsmInstructions, ins);
    if (!(cla & 0x80))
        return Find(IsoInstructions, ins);
    const bool registryKind = header.size() > 2 && (quint8(header[2]) & 0xF0) != 0;
    return ins == GetStatus.ins && registryKind ? &GetStatus : Find(ProprietaryInstructions, ins);
}

bool NoCardTakes(QByteArrayView header)
{
    const bool ppsStart = !header.isEmpty() && quint8(header[0]) == 0xFF;
    const quint8 insGroup = header.size() > 1 ? quint8(header[1]) & 0xF0 : 0;
    return ppsStart || insGroup == 0x60 || insGroup == 0x90;
}

int DataLength(quint8 p3, DataFlow flow)
{
    return p3 == 0 && flow == DataFlow::FromCard ? 256 : p3;
}
