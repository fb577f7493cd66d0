#include "link/InvertBytes.h"

#include <array>

namespace {

constexpr quint8 Compute(quint8 byte)
{
    quint8 reversed = 0;
    for (int bit = 0; bit < 8; ++bit)
        if (byte & (1u << bit))
            reversed |= quint8(1u << (7 - bit));
    return quint8(~reversed);
}

constexpr std::array<quint8, 256> MakeTable()
{
    std::array<quint8, 256> table{};
    for (int byte = 0; byte < 256; ++byte)
        table[byte] = Compute(quint8(byte));
    return table;
}

constexpr auto Table = MakeTable();

} // namespace

quint8 InvertByte(quint8 byte) { return Table[byte]; }

void InvertBytes(quint8* buffer, qsizetype count)
{
    for (qsizetype i = 0; i < count; ++i)
        buffer[i] = Table[buffer[i]];
}

void InvertBytes(QByteArray& buffer)
{
    InvertBytes(reinterpret_cast<quint8*>(buffer.data()), buffer.size());
}
