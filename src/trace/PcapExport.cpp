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
constexpr quint16 TagProtocolColumn = 33;
constexpr quint16 TagDirection = 35;
constexpr quint32 ToCard = 0;
constexpr quint32 FromCard = 1;

struct Packet {
    qint64 wallNs;
    const char* dissector;
    quint32 direction;
    QByteArray bytes;
    const char* protocol = nullptr; // the Protocol column's text, where not the dissector's
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

template <typename T>
void AppendBigTag(QByteArray& tags, quint16 tag, T value)
{
    AppendBig<quint16>(tags, tag);
    AppendBig<quint16>(tags, sizeof(T));
    AppendBig<T>(tags, value);
}

// A text tag: the text NUL-padded to a multiple of 4.
void AppendTextTag(QByteArray& tags, quint16 tag, const char* text)
{
    QByteArray padded(text);
    padded.append(QByteArray(4 - padded.size() % 4, '\0'));
    AppendBig<quint16>(tags, tag);
    AppendBig<quint16>(tags, quint16(padded.size()));
    tags += padded;
}

QByteArray Tags(const Packet& packet)
{
    QByteArray tags;
    AppendTextTag(tags, TagDissectorName, packet.dissector);
    if (packet.protocol)
        AppendTextTag(tags, TagProtocolColumn, packet.protocol);
    AppendBigTag<quint32>(tags, TagDirection, packet.direction);
    AppendBig<quint16>(tags, TagEnd);
    AppendBig<quint16>(tags, 0);
    return tags;
}

void AppendRecord(QByteArray& file, const Packet& packet)
{
    const QByteArray data = Tags(packet) + packet.bytes;
    const qint64 wallNs = std::max<qint64>(0, packet.wallNs);
    AppendLittle<quint32>(file, quint32(wallNs / 1'000'000'000));
    AppendLittle<quint32>(file, quint32(wallNs % 1'000'000'000 / 1000));
    AppendLittle<quint32>(file, quint32(data.size()));
    AppendLittle<quint32>(file, quint32(data.size()));
    file += data;
}

// The command of an exchange with a complete header: a GSM
// exchange with its status word as one packet, any other as a command packet
// that carries the data sent.
void AddCommand(QByteArray& records, const TraceExchange& exchange)
{
    if (InstructionSetOf(exchange.Cla()) == InstructionSet::Gsm1111 && exchange.HasStatus()) {
        AppendRecord(records, {exchange.wallNs, "gsm_sim", ToCard, exchange.header + exchange.data + exchange.status});
        return;
    }
    const bool toCard = exchange.flow == DataFlow::ToCard;
    AppendRecord(records, {exchange.wallNs, "iso7816", ToCard, toCard ? exchange.header + exchange.data : exchange.header});
}

// The response packet of an exchange the command packet leaves it to: the data
// from the card and the status word.
void AddResponse(QByteArray& records, const TraceExchange& exchange)
{
    if (InstructionSetOf(exchange.Cla()) == InstructionSet::Gsm1111 && exchange.HasStatus())
        return;
    const bool toCard = exchange.flow == DataFlow::ToCard;
    AppendRecord(records, {exchange.responseWallNs, "iso7816", FromCard,
                           (toCard ? QByteArray() : exchange.data) + exchange.status});
}

// What a row holds that no ATR or exchange packet carries, named for the Protocol column.
const char* LooseBytes(const Trace& trace, const TraceRow& row)
{
    switch (row.kind) {
    case TraceKind::Echo: return "T=0 echo";
    case TraceKind::Procedure: return "T=0 procedure";
    case TraceKind::Null: return "T=0 NULL";
    case TraceKind::Unrecognised: return "T=0 unrecognised";
    case TraceKind::PpsRequest: return "PPS request";
    case TraceKind::PpsResponse: return "PPS response";
    case TraceKind::Header: return trace.ExchangeOf(row)->header.size() < 5 ? "T=0 header cut short" : nullptr;
    default: return nullptr;
    }
}

bool StartsResponse(const TraceRow& row)
{
    return row.kind == TraceKind::Status || (row.kind == TraceKind::Data && row.direction == TraceDirection::FromCard);
}

} // namespace

QByteArray PcapFileHeader()
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

QByteArray PcapRecords::Rows(const Trace& trace, qsizetype from, qsizetype to)
{
    QByteArray records;
    for (qsizetype index = from; index < to; ++index)
        AddRow(records, trace, index);
    return records;
}

void PcapRecords::AddRow(QByteArray& records, const Trace& trace, qsizetype index)
{
    const TraceRow& row = trace.rows[index];
    const TraceExchange* exchange = trace.ExchangeOf(row);
    if (row.kind == TraceKind::PortOpened)
        m_openWallNs = trace.opens.value(row.ref);
    if (const char* name = LooseBytes(trace, row)) {
        const quint32 direction = row.direction == TraceDirection::ToCard ? ToCard : FromCard;
        AppendRecord(records, {m_openWallNs + row.sinceOpenNs, "data", direction, trace.Bytes(row).toByteArray(), name});
    } else if (row.kind == TraceKind::Atr && row.ref > m_lastAtr) {
        m_lastAtr = row.ref;
        AppendRecord(records, {trace.atrs[row.ref].wallNs, "iso7816", FromCard, trace.atrs[row.ref].atr.bytes});
    } else if (row.kind == TraceKind::Header && exchange->headerRow == index) {
        AddCommand(records, *exchange);
    } else if (StartsResponse(row) && row.ref > m_lastResponse) {
        m_lastResponse = row.ref;
        AddResponse(records, *exchange);
    }
}

QByteArray PcapFile(const Trace& trace)
{
    return PcapFileHeader() + PcapRecords().Rows(trace, 0, trace.rows.size());
}

void SavePcap(const QString& path, const LinkTimeline& timeline)
{
    SaveFile(path, PcapFile(DecodeT0(timeline)));
}
