#include "trace/Atr.h"

#include <algorithm>
#include <bit>

namespace {

constexpr int FiTable[16] = {372, 372, 558, 744, 1116, 1488, 1860, 0, 0, 512, 768, 1024, 1536, 2048, 0, 0};
constexpr int DiTable[16] = {0, 1, 2, 4, 8, 16, 32, 64, 12, 20, 0, 0, 0, 0, 0, 0};
constexpr double MaxClockTable[16] = {4, 5, 6, 8, 12, 16, 20, 0, 0, 5, 7.5, 10, 15, 20, 0, 0};
constexpr char Letters[4] = {'A', 'B', 'C', 'D'};
constexpr int GlobalInterfaceBytes = 15; // T=15 names global interface bytes, not a protocol

// Reads the interface bytes from position 2 on; returns where they end, or -1
// when the bytes end first (`length` then counts those announced so far).
qsizetype ReadInterfaceBytes(Atr& atr, QByteArrayView bytes, qsizetype& length)
{
    quint8 indicator = quint8(bytes[1]) >> 4;
    qsizetype position = 2;
    int protocol = -1;
    for (int group = 1; indicator != 0; ++group) {
        length += std::popcount(indicator);
        quint8 td = 0;
        for (int bit = 0; bit < 4; ++bit) {
            if (!(indicator & (1 << bit)))
                continue;
            if (position >= bytes.size())
                return -1;
            td = quint8(bytes[position++]);
            atr.interfaceBytes.append({Letters[bit], group, td, protocol});
        }
        if (!(indicator & 0x8))
            break;
        protocol = td & 0x0F;
        atr.tckDue = atr.tckDue || protocol != 0;
        if (protocol != GlobalInterfaceBytes && !atr.protocols.contains(protocol))
            atr.protocols.append(protocol);
        indicator = td >> 4;
    }
    return position;
}

} // namespace

int FiOfTa1(quint8 ta1)
{
    return FiTable[ta1 >> 4];
}

int DiOfTa1(quint8 ta1)
{
    return DiTable[ta1 & 0x0F];
}

double MaxClockOfTa1(quint8 ta1)
{
    return MaxClockTable[ta1 >> 4];
}

const AtrInterfaceByte* Atr::Find(char letter, int group) const
{
    const auto found = std::find_if(interfaceBytes.begin(), interfaceBytes.end(), [&](const AtrInterfaceByte& b) {
        return b.letter == letter && b.group == group;
    });
    return found == interfaceBytes.end() ? nullptr : &*found;
}

int Atr::Fi() const
{
    const AtrInterfaceByte* ta1 = Find('A', 1);
    return ta1 ? FiOfTa1(ta1->value) : 372;
}

int Atr::Di() const
{
    const AtrInterfaceByte* ta1 = Find('A', 1);
    return ta1 ? DiOfTa1(ta1->value) : 1;
}

Atr ParseAtr(QByteArrayView bytes)
{
    Atr atr;
    qsizetype length = 2; // TS and T0
    if (bytes.size() < length) {
        atr.bytes = bytes.toByteArray();
        atr.knownLength = int(length);
        return atr;
    }
    atr.historicalCount = quint8(bytes[1]) & 0x0F;
    const qsizetype historicalStart = ReadInterfaceBytes(atr, bytes, length);
    if (atr.protocols.isEmpty() && !atr.Find('D', 1))
        atr.protocols.append(0);
    length += atr.historicalCount + (atr.tckDue ? 1 : 0);
    atr.knownLength = int(length);
    atr.complete = historicalStart >= 0 && bytes.size() >= length;
    atr.bytes = bytes.first(std::min(bytes.size(), length)).toByteArray();
    if (historicalStart >= 0)
        atr.historical = atr.bytes.mid(historicalStart, atr.historicalCount);
    if (atr.complete)
        atr.checkXor = XorOf(QByteArrayView(atr.bytes).sliced(1));
    return atr;
}

quint8 XorOf(QByteArrayView bytes)
{
    quint8 check = 0;
    for (char byte : bytes)
        check ^= quint8(byte);
    return check;
}
