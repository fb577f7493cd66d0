#include "TimelineSteps.h"

#include "common/PcapPayloads.h"
#include "trace/LivePcap.h"
#include "trace/T0Decoder.h"

#include <gtest/gtest.h>

namespace {

// The stream for the timeline's events, without its end (LivePcap::Finish) unless `finish`.
QByteArray Stream(const LinkTimeline& timeline, bool finish)
{
    LivePcap live;
    QByteArray stream;
    for (qsizetype index = 0; index < timeline.Size(); ++index)
        stream += live.Add(timeline.At(index));
    return finish ? stream + live.Finish() : stream;
}

QList<QByteArray> Payloads(std::initializer_list<const char*> hex)
{
    QList<QByteArray> payloads;
    for (const char* bytes : hex)
        payloads.append(QByteArray::fromHex(bytes));
    return payloads;
}

TEST(LivePcap, StreamsThePcapFileOfTheWholeTraceWhateverTheTraffic)
{
    QRandomGenerator random(17);
    for (int round = 0; round < 200; ++round) {
        qint64 bytes = 0;
        const LinkTimeline timeline = RandomTraffic(random, bytes);
        ASSERT_EQ(Stream(timeline, true).toHex().toStdString(), PcapFile(DecodeT0(timeline)).toHex().toStdString())
            << "round " << round;
    }
    EXPECT_EQ(Stream(DemoRun(), true), PcapFile(DecodeT0(DemoRun())));
    // The interface's echo in doubt from the first answer until the end, where
    // the reading without it has fewer faults and its rows replace the others.
    const LinkTimeline doubtful = Steps("close; > 07 07 07 07 07 07 07; < 07 07 07 07 07 07 07; < F7 07 07 07 10 07 07;"
                                        "> 07 07 FF FF FF FF FB; baud 9600; < 24 FF 00 00 00 00 00 00 00 00 3B 00 29 01 3F"
                                        " 31 00 90 0A 29 09 61 10 3F");
    EXPECT_EQ(Stream(doubtful, true).toHex().toStdString(), PcapFile(DecodeT0(doubtful)).toHex().toStdString());
}

// What the stream holds before the traffic ends: every packet nothing can change any more.
TEST(LivePcap, WritesEachPacketOnceNothingLaterCanChangeIt)
{
    const char* const atr = "3F 65 25 00 2C 09 69 90 00";
    const struct {
        const char* steps;
        QList<QByteArray> written;
    } cases[] = {
        {"open 0; < 3F 65 25 00 2C 09 69 90 00", Payloads({atr})},
        {"open 0; < 3F 65 25 00 2C", {}},
        {"open 0; < 3F 65 25 00 2C 09 69 90 00; > A0 A4 00 00 02; < A0 A4 00 00 02 A4; > 3F 00; < 3F 00 9F 0F",
         Payloads({atr, "A0A4000002 3F00 9F0F", "A0A4000002", "A4", "3F00"})},
        {"open 0; > 00 A4 00 00 02 3F 00; < 00 A4 00 00 02 A4 3F 00 90 00",
         Payloads({"00A4000002 3F00", "00A4000002", "A4", "3F00", "9000"})},
        {"open 0; > 00 B0 00 00 02; < 00 B0 00 00 02 B0 12", {}},
        {"open 0; > 00 B0 00 00 02; < 00 B0 00 00 02 B0 12 34 90 00; > 00 B0",
         Payloads({"00B0000002", "00B0000002", "B0", "1234 9000"})},
    };
    for (const auto& [steps, written] : cases)
        EXPECT_EQ(PcapPayloads(Stream(Steps(QString::fromLatin1(steps)), false)), written) << steps;
}

} // namespace
