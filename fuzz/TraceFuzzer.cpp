// The card link's traffic as the T=0 decoder meets it: bytes sent and received
// in any order and chunking, opens, closes, baud changes and line actions. The
// decoder must place every byte in exactly one row, and the pcap export in
// exactly one packet; the text form is made from whatever it decoded. The pcap
// stream written event by event must end as the file of the whole trace.
//
// Input: events one after another, each a byte of kind (low three bits) and time
// step (the rest), then for bytes sent or received a byte of length and that
// many bytes, for a baud change or a line action one byte naming it.
#include "FuzzSupport.h"

#include "common/PcapPayloads.h"

#include "trace/LivePcap.h"
#include "trace/PcapExport.h"
#include "trace/T0Decoder.h"
#include "trace/TraceText.h"

namespace {

constexpr int Bauds[] = {9600, 19200, 38400, 0};
constexpr LineFunction LineFunctions[] = {LineFunction::SetRts, LineFunction::ClrRts,   LineFunction::SetDtr,
                                          LineFunction::ClrDtr, LineFunction::SetBreak, LineFunction::ClrBreak};

QByteArray LiveStream(const LinkTimeline& timeline)
{
    LivePcap live;
    QByteArray stream;
    for (qsizetype index = 0; index < timeline.Size(); ++index)
        stream += live.Add(timeline.At(index));
    return stream + live.Finish();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    LinkTimeline timeline;
    qint64 now = 0;
    qsizetype traffic = 0;
    while (!input.AtEnd()) {
        const quint8 kind = input.Byte();
        now += qint64(kind >> 3) * 100'000; // up to 3.1 ms between events
        switch (kind % 6) {
        case 0:
        case 1: {
            const QByteArrayView bytes = input.Take(input.Byte());
            traffic += bytes.size();
            kind % 6 == 0 ? timeline.AddSent(now, bytes) : timeline.AddReceived(now, bytes);
            break;
        }
        case 2:
            timeline.AddOpened(now, 1'700'000'000'000'000'000 + now);
            break;
        case 3:
            timeline.AddClosed(now);
            break;
        case 4:
            timeline.AddBaudChanged(now, Bauds[input.Byte() % std::size(Bauds)]);
            break;
        default:
            timeline.AddLineControl(now, LineFunctions[input.Byte() % std::size(LineFunctions)]);
            break;
        }
    }
    const Trace trace = DecodeT0(timeline);
    qsizetype placed = 0;
    for (const TraceRow& row : trace.rows)
        placed += trace.Bytes(row).size();
    Fuzz::Require(placed == traffic, "every byte sent or received is in exactly one row");
    TraceText(trace);
    const QByteArray file = PcapFile(trace);
    qsizetype exported = 0;
    for (const QByteArray& payload : PcapPayloads(file))
        exported += payload.size();
    Fuzz::Require(exported == traffic, "every byte sent or received is in exactly one packet of the pcap file");
    Fuzz::Require(LiveStream(timeline) == file, "the pcap stream written as the traffic went ends as the file");
    return 0;
}
