#include "trace/PcapExport.h"

#include "base/SaveFile.h"
#include "trace/T0Decoder.h"

#include <QtEndian>
#include <algorithm>

namespace {

constexpr quint32 LinkTypeUpperPdu = 252;
constexpr quint32 Snapshot = 262144;
constexpr quint16 TagEnd = 0;
constexpr quint16 TagDissectorName = 12;
constexpr quint16 TagDirection = 35;
constexpr quint32 ToCard = 0;
constexpr quint32 FromCard = 1;

struct Packet {
    qint64 wallNs;
    const char* dissector;
    quint32 direction;
    QByteArray bytes;
};

template <typename T>
void AppendLittle(QByteArray& out, T value)
{
    char bytes[sizeof(T)];
    qToLittleEndian<T>(value, bytes);
    out.append(bytes, sizeof bytes);
}

template <typename T>
void AppendBig(QByteArray& out, T value)
{
    char bytes[sizeof(T)];
    qToBigEndian<T>(value, bytes);
    out.append(bytes, sizeof bytes);
}

QByteArray FileHeader()
{
    QByteArray header;
    AppendLittle<quint32>(header, 0xA1B2C3D4); // microsecond times
    AppendLittle<quint16>(header, 2);
    AppendLittle<quint16>(header, 4);
    AppendLittle<qint32>(header, 0);
    AppendLittle<quint32>(header, 0);
    AppendLittle<quint32>(header, Snapshot);
    AppendLittle<quint32>(header, LinkTypeUpperPdu);
    return header;
}

// The tags: the dissector's name NUL-padded to a multiple of 4, the direction, the end.
QByteArray Tags(const char* dissector, quint32 direction)
{
    QByteArray name(dissector);
    name.append(QByteArray(4 - name.size() % 4, '\0'));
    QByteArray tags;
    AppendBig<quint16>(tags, TagDissectorName);
    AppendBig<quint16>(tags, quint16(name.size()));
    tags += name;
    AppendBig<quint16>(tags, TagDirection);
    AppendBig<quint16>(tags, 4);
    AppendBig<quint32>(tags, direction);
    AppendBig<quint16>(tags, TagEnd);
    AppendBig<quint16>(tags, 0);
    return tags;
}

void AppendRecord(QByteArray& file, const Packet& packet)
{
    const QByteArray data = Tags(packet.dissector, packet.direction) + packet.bytes;
    const qint64 wallNs = std::max<qint64>(0, packet.wallNs);
    AppendLittle<quint32>(file, quint32(wallNs / 1'000'000'000));
    AppendLittle<quint32>(file, quint32(wallNs % 1'000'000'000 / 1000));
    AppendLittle<quint32>(file, quint32(data.size()));
    AppendLittle<quint32>(file, quint32(data.size()));
    file += data;
}

void AddExchange(QList<Packet>& packets, const TraceExchange& exchange)
{
    if (exchange.header.size() < 5)
        return;
    const bool toCard = exchange.flow == DataFlow::ToCard;
    if (InstructionSetOf(exchange.Cla()) == InstructionSet::Gsm1111 && exchange.HasStatus()) {
        packets.append({exchange.wallNs, "gsm_sim", ToCard, exchange.header + exchange.data + exchange.status});
        return;
    }
    packets.append({exchange.wallNs, "iso7816", ToCard, toCard ? exchange.header + exchange.data : exchange.header});
    const QByteArray response = (toCard ? QByteArray() : exchange.data) + exchange.status;
    if (!response.isEmpty())
        packets.append({exchange.responseWallNs, "iso7816", FromCard, response});
}

} // namespace

QByteArray PcapFile(const Trace& trace)
{
    QList<Packet> packets;
    for (const TraceAtr& atr : trace.atrs)
        packets.append({atr.wallNs, "iso7816", FromCard, atr.atr.bytes});
    for (const TraceExchange& exchange : trace.exchanges)
        AddExchange(packets, exchange);
    std::stable_sort(packets.begin(), packets.end(),
                     [](const Packet& a, const Packet& b) { return a.wallNs < b.wallNs; });
    QByteArray file = FileHeader();
    for (const Packet& packet : packets)
        AppendRecord(file, packet);
    return file;
}

void SavePcap(const QString& path, const LinkTimeline& timeline)
{
    SaveFile(path, PcapFile(DecodeT0(timeline)));
}
