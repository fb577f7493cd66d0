#include "trace/StatusWords.h"

#include <span>

namespace {

// How an entry's text shows SW2.
enum class Shown : quint8 {
    Nothing,
    Length,    // a byte count, 00 meaning 256
    LowNibble, // a counter in SW2's low four bits
};

// Matches a status word when SW1 is equal and SW2 equal under the mask.
struct StatusEntry {
    quint8 sw1;
    quint8 sw2;
    quint8 mask;
    Shown shown;
    const char* text;
};

constexpr quint8 Exact = 0xFF;
constexpr quint8 Any = 0x00;
constexpr quint8 HighNibble = 0xF0;

// ISO 7816-4; within an SW1 the exact entries come before the general one.
constexpr StatusEntry IsoStatus[] = {
    {0x90, 0x00, Exact, Shown::Nothing, "normal ending"},
    {0x61, 0x00, Any, Shown::Length, "%1 bytes of response ready"},
    {0x62, 0x81, Exact, Shown::Nothing, "part of the returned data may be corrupted"},
    {0x62, 0x82, Exact, Shown::Nothing, "end of file or record reached before reading Le bytes"},
    {0x62, 0x83, Exact, Shown::Nothing, "selected file deactivated"},
    {0x62, 0x84, Exact, Shown::Nothing, "file control information not formatted correctly"},
    {0x62, 0x85, Exact, Shown::Nothing, "selected file in termination state"},
    {0x62, 0x86, Exact, Shown::Nothing, "no input data available from a sensor"},
    {0x62, 0x00, Any, Shown::Nothing, "warning, memory unchanged"},
    {0x63, 0x81, Exact, Shown::Nothing, "file filled up by the last write"},
    {0x63, 0xC0, HighNibble, Shown::LowNibble, "counter %1 (after a verification: tries left)"},
    {0x63, 0x00, Any, Shown::Nothing, "warning, memory changed"},
    {0x64, 0x01, Exact, Shown::Nothing, "immediate response required by the card"},
    {0x64, 0x00, Any, Shown::Nothing, "execution error, memory unchanged"},
    {0x65, 0x81, Exact, Shown::Nothing, "memory failure"},
    {0x65, 0x00, Any, Shown::Nothing, "execution error, memory changed"},
    {0x66, 0x00, Any, Shown::Nothing, "security-related error"},
    {0x67, 0x00, Exact, Shown::Nothing, "wrong length"},
    {0x68, 0x81, Exact, Shown::Nothing, "logical channel not supported"},
    {0x68, 0x82, Exact, Shown::Nothing, "secure messaging not supported"},
    {0x68, 0x83, Exact, Shown::Nothing, "last command of the chain expected"},
    {0x68, 0x84, Exact, Shown::Nothing, "command chaining not supported"},
    {0x68, 0x00, Any, Shown::Nothing, "function in the class not supported"},
    {0x69, 0x81, Exact, Shown::Nothing, "command incompatible with the file structure"},
    {0x69, 0x82, Exact, Shown::Nothing, "security status not satisfied"},
    {0x69, 0x83, Exact, Shown::Nothing, "authentication method blocked"},
    {0x69, 0x84, Exact, Shown::Nothing, "reference data not usable"},
    {0x69, 0x85, Exact, Shown::Nothing, "conditions of use not satisfied"},
    {0x69, 0x86, Exact, Shown::Nothing, "command not allowed (no current EF)"},
    {0x69, 0x87, Exact, Shown::Nothing, "expected secure messaging data objects missing"},
    {0x69, 0x88, Exact, Shown::Nothing, "incorrect secure messaging data objects"},
    {0x69, 0x00, Any, Shown::Nothing, "command not allowed"},
    {0x6A, 0x80, Exact, Shown::Nothing, "incorrect parameters in the data field"},
    {0x6A, 0x81, Exact, Shown::Nothing, "function not supported"},
    {0x6A, 0x82, Exact, Shown::Nothing, "file or application not found"},
    {0x6A, 0x83, Exact, Shown::Nothing, "record not found"},
    {0x6A, 0x84, Exact, Shown::Nothing, "not enough memory space in the file"},
    {0x6A, 0x85, Exact, Shown::Nothing, "Lc inconsistent with the TLV structure"},
    {0x6A, 0x86, Exact, Shown::Nothing, "incorrect parameters P1-P2"},
    {0x6A, 0x87, Exact, Shown::Nothing, "Lc inconsistent with P1-P2"},
    {0x6A, 0x88, Exact, Shown::Nothing, "referenced data not found"},
    {0x6A, 0x89, Exact, Shown::Nothing, "file already exists"},
    {0x6A, 0x8A, Exact, Shown::Nothing, "DF name already exists"},
    {0x6A, 0x00, Any, Shown::Nothing, "wrong parameters P1-P2"},
    {0x6B, 0x00, Exact, Shown::Nothing, "wrong parameters P1-P2 (offset outside the file)"},
    {0x6C, 0x00, Any, Shown::Length, "wrong Le: %1 bytes available"},
    {0x6D, 0x00, Exact, Shown::Nothing, "instruction not supported or invalid"},
    {0x6E, 0x00, Exact, Shown::Nothing, "class not supported"},
    {0x6F, 0x00, Exact, Shown::Nothing, "no precise diagnosis"},
};

// GSM 11.11, with the toolkit's status words of GSM 11.14.
constexpr StatusEntry GsmStatus[] = {
    {0x90, 0x00, Exact, Shown::Nothing, "normal ending"},
    {0x91, 0x00, Any, Shown::Length, "normal ending, %1 bytes of proactive command ready"},
    {0x92, 0x40, Exact, Shown::Nothing, "memory problem"},
    {0x92, 0x00, HighNibble, Shown::LowNibble, "successful after %1 internal retries"},
    {0x93, 0x00, Exact, Shown::Nothing, "SIM Application Toolkit busy"},
    {0x94, 0x00, Exact, Shown::Nothing, "no EF selected"},
    {0x94, 0x02, Exact, Shown::Nothing, "out of range (invalid address)"},
    {0x94, 0x04, Exact, Shown::Nothing, "file ID or pattern not found"},
    {0x94, 0x08, Exact, Shown::Nothing, "file inconsistent with the command"},
    {0x98, 0x02, Exact, Shown::Nothing, "no CHV initialised"},
    {0x98, 0x04, Exact, Shown::Nothing, "access condition not fulfilled, or verification failed (tries left)"},
    {0x98, 0x08, Exact, Shown::Nothing, "in contradiction with CHV status"},
    {0x98, 0x10, Exact, Shown::Nothing, "in contradiction with invalidation status"},
    {0x98, 0x40, Exact, Shown::Nothing, "verification failed, no try left: CHV blocked"},
    {0x98, 0x50, Exact, Shown::Nothing, "INCREASE cannot be performed, maximum value reached"},
    {0x9E, 0x00, Any, Shown::Length, "%1 bytes of response ready after a data download error"},
    {0x9F, 0x00, Any, Shown::Length, "%1 bytes of response ready"},
    {0x67, 0x00, Exact, Shown::Nothing, "incorrect parameter P3"},
    {0x67, 0x00, Any, Shown::Length, "incorrect parameter P3: the right length is %1"},
    {0x6B, 0x00, Any, Shown::Nothing, "incorrect parameter P1 or P2"},
    {0x6D, 0x00, Any, Shown::Nothing, "unknown instruction code"},
    {0x6E, 0x00, Any, Shown::Nothing, "wrong instruction class"},
    {0x6F, 0x00, Any, Shown::Nothing, "technical problem, no diagnosis given"},
};

const StatusEntry* Find(std::span<const StatusEntry> table, quint8 sw1, quint8 sw2)
{
    for (const StatusEntry& entry : table) {
        if (entry.sw1 == sw1 && (sw2 & entry.mask) == entry.sw2)
            return &entry;
    }
    return nullptr;
}

QString Text(const StatusEntry& entry, quint8 sw2)
{
    const QString text = QString::fromLatin1(entry.text);
    switch (entry.shown) {
    case Shown::Length: return text.arg(sw2 == 0 ? 256 : sw2);
    case Shown::LowNibble: return text.arg(sw2 & 0x0F);
    case Shown::Nothing: break;
    }
    return text;
}

std::span<const StatusEntry> Table(InstructionSet set)
{
    if (set == InstructionSet::Gsm1111)
        return GsmStatus;
    return IsoStatus;
}

QString GroupMeaning(quint8 sw1)
{
    if (sw1 >= 0x67 && sw1 <= 0x6F)
        return QStringLiteral("checking error, not a known status word");
    if ((sw1 & 0xF0) == 0x90)
        return QStringLiteral("status word of the application, not a known one");
    return QStringLiteral("not a known status word");
}

} // namespace

QString StatusMeaning(quint8 sw1, quint8 sw2, InstructionSet set)
{
    const InstructionSet other = set == InstructionSet::Gsm1111 ? InstructionSet::Iso7816 : InstructionSet::Gsm1111;
    const StatusEntry* entry = Find(Table(set), sw1, sw2);
    if (!entry)
        entry = Find(Table(other), sw1, sw2);
    return entry ? Text(*entry, sw2) : GroupMeaning(sw1);
}

bool IsStatusByte(quint8 sw1)
{
    const quint8 group = sw1 & 0xF0;
    return (group == 0x60 && sw1 != 0x60) || group == 0x90;
}
