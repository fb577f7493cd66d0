#include "link/LinkTimeline.h"

#include <gtest/gtest.h>

TEST(LinkTimeline, KeepsEveryKindOfEventInOrder)
{
    LinkTimeline timeline;
    timeline.AddOpened(10, 1'767'225'600'123'456'789);
    timeline.AddSent(11, QByteArray::fromHex("A0"));
    timeline.AddReceived(12, QByteArray::fromHex("A0 A4 00"));
    timeline.AddBaudChanged(13, 38400);
    timeline.AddLineControl(14, LineFunction::ClrBreak);
    timeline.AddReceived(15, {});
    timeline.AddClosed(16);
    ASSERT_EQ(timeline.Size(), 7);
    const auto check = [&](qsizetype i, LinkEventKind kind, const char* hex, qint64 value) {
        SCOPED_TRACE(i);
        const LinkEvent event = timeline.At(i);
        EXPECT_EQ(event.kind, kind);
        EXPECT_EQ(event.timeNs, 10 + i);
        EXPECT_EQ(event.bytes.toByteArray(), QByteArray::fromHex(hex));
        EXPECT_EQ(event.value, value);
    };
    check(0, LinkEventKind::Opened, "", 1'767'225'600'123'456'789);
    check(1, LinkEventKind::Sent, "A0", 0);
    check(2, LinkEventKind::Received, "A0 A4 00", 0);
    check(3, LinkEventKind::BaudChanged, "", 38400);
    check(4, LinkEventKind::LineControl, "", qint64(LineFunction::ClrBreak));
    check(5, LinkEventKind::Received, "", 0);
    check(6, LinkEventKind::Closed, "", 0);
}

TEST(LinkTimeline, ABytePerEventCostsAtMostSixteenBytes)
{
    LinkTimeline timeline;
    constexpr int Bytes = 100'000;
    for (int i = 0; i < Bytes; ++i) {
        const char byte = char(i);
        timeline.AddSent(i, QByteArrayView(&byte, 1));
    }
    EXPECT_LE(timeline.MemoryBytes(), 16 * Bytes);
    EXPECT_EQ(timeline.At(Bytes - 1).bytes.toByteArray(), QByteArray(1, char(Bytes - 1)));
}
