#include "link/ReceiveBuffer.h"

#include <gtest/gtest.h>
#include <atomic>
#include <thread>

namespace {

void RecordLineChange(ReceiveBuffer& buffer, LinkTimeline& timeline)
{
    buffer.Record([](LinkTimeline& events, qint64 timeNs) { events.AddLineControl(timeNs, LineFunction::SetRts); });
    buffer.TakeEvents(timeline);
}

} // namespace

// The window records a line change and takes the events while the worker's bytes
// land in between: they must still be announced, and the next bytes too once taken.
TEST(ReceiveBuffer, BytesLandingBetweenALineChangeAndItsTakeAreAnnounced)
{
    ReceiveBuffer buffer;
    LinkTimeline timeline;
    buffer.Record([](LinkTimeline& events, qint64 timeNs) { events.AddLineControl(timeNs, LineFunction::SetRts); });
    EXPECT_TRUE(buffer.Append("\x3B")) << "the window has not been told";
    buffer.TakeEvents(timeline);
    EXPECT_FALSE(buffer.Append("\x90")) << "told already, and not yet taken";
    EXPECT_FALSE(buffer.RecordSent("\xA0"));

    bool more = true;
    EXPECT_EQ(buffer.Take(1, more, timeline), QByteArray("\x3B"));
    EXPECT_TRUE(more);
    EXPECT_FALSE(buffer.Append("\x01")) << "the window comes back for what is left";
    EXPECT_EQ(buffer.Take(16, more, timeline), QByteArray("\x90\x01"));
    EXPECT_FALSE(more);
    EXPECT_TRUE(buffer.Append("\x02")) << "everything was taken: tell again";
    EXPECT_EQ(timeline.Size(), 5);
}

// A reset asked for before the reader gave the new ATR stands before it, though
// the worker recorded the ATR before the window thread recorded the reset.
TEST(ReceiveBuffer, AnEventStandsWhereItWasAskedForBeforeWhatTheWorkerRecordedSince)
{
    ReceiveBuffer buffer;
    LinkTimeline timeline;
    buffer.Append("\x3F");
    const qint64 asked = ReceiveBuffer::NowNs();
    buffer.Append("\x3B\x02");
    buffer.Record([](LinkTimeline& events, qint64 timeNs) { events.AddLineControl(timeNs, LineFunction::ClrRts); },
                  asked);
    buffer.TakeEvents(timeline);
    ASSERT_EQ(timeline.Size(), 3);
    EXPECT_EQ(timeline.At(1).kind, LinkEventKind::LineControl);
    EXPECT_EQ(timeline.At(1).timeNs, asked);
    EXPECT_EQ(timeline.At(2).bytes, QByteArrayView("\x3B\x02"));
    EXPECT_LE(timeline.At(0).timeNs, asked);
}

// A worker streams while the window changes the line over and over and takes
// bytes only when told: every byte reaches the window.
TEST(ReceiveBuffer, AStreamWithRepeatedLineChangesIsNeverLeftUnannounced)
{
    constexpr int Chunks = 200'000;
    ReceiveBuffer buffer;
    LinkTimeline timeline;
    std::atomic<int> announcements{0};
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < Chunks; ++i)
            if (buffer.Append(QByteArray(1, char(i))))
                ++announcements;
        done = true;
    });
    qsizetype taken = 0;
    int handled = 0;
    while (!done || handled < announcements) {
        RecordLineChange(buffer, timeline);
        if (handled == announcements)
            continue;
        ++handled;
        for (bool more = true; more;)
            taken += buffer.Take(7, more, timeline).size();
    }
    worker.join();
    EXPECT_EQ(taken, Chunks);
}
