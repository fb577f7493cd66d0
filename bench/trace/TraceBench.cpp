// Records a timeline of mixed T=0 traffic (the simulator's card answering GSM and
// ISO commands through an echoing interface, with NULL bytes, an unknown class and
// refusals) and prints what it costs: the timeline's memory per byte of traffic
// (target at most 16), the time to decode it (target under 0.5 s for 1,000,000
// bytes), the time to make its text form and pcap file, the time to stream the
// same pcap event by event as kestrin-run --pcap - does (target: about the
// decoding's and the file's together), and the time the Trace page's filter
// takes to look through every row for bytes.
// Argument: the number of bytes of traffic (1,000,000).
#include "cardsim/SimulatedRun.h"
#include "common/ProcessFigures.h"
#include "trace/LivePcap.h"
#include "trace/PcapExport.h"
#include "trace/T0Decoder.h"
#include "trace/TraceFilterModel.h"
#include "trace/TraceModel.h"
#include "trace/TraceText.h"

#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>

namespace {

const char* const Commands[] = {
    "A0 A4 00 00 02 3F 00", "A0 C0 00 00 0F", "00 A4 00 00 02 00 01", "00 B0 00 00 10",
    "00 20 00 01 08 31 32 33 34 FF FF FF FF", "00 D6 00 00 04 11 22 33 44", "00 A4 00 00 02 00 02",
    "00 B2 01 04 10", "00 B2 02 04 05", "80 CA 00 00 04", "A0 F2 00 00 16", "00 A4 00 00 02 7F 20",
};

// The bytes sent and received in the events from `first` on.
qint64 TrafficBytes(const LinkTimeline& timeline, qsizetype first)
{
    qint64 bytes = 0;
    for (qsizetype i = first; i < timeline.Size(); ++i)
        bytes += timeline.At(i).bytes.size();
    return bytes;
}

// Resident memory in kB, from "VmRSS".
double ResidentKb()
{
    return MemoryFigure(QStringLiteral("VmRSS")).section(u' ', 0, 0).toDouble();
}

struct Took {
    double wallMs;
    double processorMs; // fairer than the wall clock on a busy machine
};

template <typename Work>
Took Time(Work work)
{
    const double processor = ProcessCpuSeconds();
    QElapsedTimer timer;
    timer.start();
    work();
    return {timer.nsecsElapsed() / 1e6, (ProcessCpuSeconds() - processor) * 1e3};
}

} // namespace

int main(int argc, char** argv)
{
    const qint64 wanted = argc > 1 ? std::max(1000, QByteArray(argv[1]).toInt()) : 1'000'000;
    const double residentBefore = ResidentKb();
    SimulatedRun run;
    run.Session().setReply(QByteArray::fromHex("80 CA 00 00 04"), QByteArray::fromHex("60 60 CA 01 02 03 04 90 00"));
    const LinkTimeline& timeline = run.Timeline();
    qint64 bytes = 0;
    for (int round = 0; bytes < wanted; ++round) {
        const qsizetype first = timeline.Size();
        if (round % 50 == 0) {
            run.Close();
            run.Open();
        }
        for (const char* command : Commands)
            run.Send(QByteArray::fromHex(command));
        bytes += TrafficBytes(timeline, first);
    }
    const double resident = (ResidentKb() - residentBefore) * 1024;
    std::printf("timeline: %lld bytes of traffic in %lld events; %.1f bytes of memory per byte of traffic "
                "(%.1f resident, simulator included; target at most 16)\n",
                qlonglong(bytes), qlonglong(timeline.Size()), double(timeline.MemoryBytes()) / bytes,
                resident / bytes);

    Trace trace;
    const Took decode = Time([&] { trace = DecodeT0(timeline); });
    std::printf("decoding %lld bytes: %.0f ms, %.0f ms of processor time (target under 500 ms for 1,000,000 "
                "bytes); %lld rows, %lld exchanges, %lld ATRs\n",
                qlonglong(bytes), decode.wallMs, decode.processorMs, qlonglong(trace.rows.size()),
                qlonglong(trace.exchanges.size()), qlonglong(trace.atrs.size()));

    QByteArray text;
    const Took textTook = Time([&] { text = TraceText(trace); });
    QByteArray pcap;
    const Took pcapTook = Time([&] { pcap = PcapFile(trace); });
    std::printf("text form: %.0f ms (%.0f ms of processor time), %lld bytes; pcap file: %.0f ms (%.0f ms), %lld bytes\n",
                textTook.wallMs, textTook.processorMs, qlonglong(text.size()), pcapTook.wallMs, pcapTook.processorMs,
                qlonglong(pcap.size()));

    QByteArray stream;
    const Took streamTook = Time([&] {
        LivePcap live;
        for (qsizetype i = 0; i < timeline.Size(); ++i)
            stream += live.Add(timeline.At(i));
        stream += live.Finish();
    });
    std::printf("pcap stream, event by event: %.0f ms (%.0f ms of processor time), %s the file\n", streamTook.wallMs,
                streamTook.processorMs, stream == pcap ? "the same bytes as" : "NOT THE SAME as");

    TraceModel model(timeline);
    model.Update(std::chrono::hours(1));
    TraceFilterModel filter(model);
    const Took filterTook = Time([&] { filter.SetText(QStringLiteral("7F20 -> 6A")); });
    std::printf("filtering %d rows for bytes: %.0f ms (%.0f ms of processor time), %d rows shown\n", model.rowCount(),
                filterTook.wallMs, filterTook.processorMs, filter.rowCount());
    return 0;
}
