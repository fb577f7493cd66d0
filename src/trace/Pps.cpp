#include "trace/Pps.h"

#include <bit>

namespace {

constexpr int ShortestLength = 3; // PPSS, PPS0, PCK

// The bit of PPS0 that announces PPS1, PPS2 or PPS3.
quint8 PresenceBit(int number) { return quint8(0x08 << number); }

} // namespace

int PpsLength(QByteArrayView message)
{
    if (message.size() < 2)
        return ShortestLength;
    return ShortestLength + std::popcount(quint8(message[1] & 0x70));
}

bool PpsComplete(QByteArrayView message) { return message.size() == PpsLength(message); }

std::optional<quint8> PpsParameter(QByteArrayView message, int number)
{
    if (!PpsComplete(message) || !(quint8(message[1]) & PresenceBit(number)))
        return std::nullopt;
    qsizetype position = 2;
    for (int before = 1; before < number; ++before)
        position += quint8(message[1]) & PresenceBit(before) ? 1 : 0;
    return quint8(message[position]);
}
