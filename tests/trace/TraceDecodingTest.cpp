#include "TimelineSteps.h"

#include "trace/TraceDecoding.h"
#include "trace/TraceText.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

constexpr qint64 Ms = 1'000'000;

QStringList Lines(const Trace& trace, qsizetype rows)
{
    QStringList lines;
    for (qsizetype row = 0; row < rows; ++row)
        lines.append(TraceLine(trace, trace.rows[row]));
    return lines;
}

// Without an echoing interface, each step 1 ms after the one before: a SELECT
// whose card asks for time three times, a READ BINARY told its length, a reset,
// a SELECT of a file that is not there, and a command cut short by the close.
LinkTimeline TimedRun()
{
    return Steps("open 0; < 3B 00; > A0 A4 00 00 02; < A4; > 3F 00; < 60; < 60 60; < 9F 0F;"
                 "> A0 B0 00 00 02; < 6C 0A; line 4; > 00 A4 00 00 02; < 6A 82; > 00 B0 00 00 02; close");
}

} // namespace

TEST(TraceTiming, BarsRunFromHeaderToStatusWordAndMarksFallOnEachNullByteAndReset)
{
    TraceDecoding decoding;
    decoding.Hand(TimedRun());
    ASSERT_EQ(decoding.Progress(10s).events, TimedRun().Size());
    const TraceLook look = decoding.Look();
    const TraceTiming& timing = look.timing();
    const struct {
        qint64 start, headerEnd, answer, end;
        StatusClass status;
    } bars[] = {{2, 6, 7, 12, StatusClass::Normal},
                {13, 17, 18, 18, StatusClass::Warning},
                {20, 24, 25, 25, StatusClass::Error},
                {26, 30, -1, 30, StatusClass::Unfinished}};
    ASSERT_EQ(timing.bars.size(), std::size(bars));
    for (qsizetype i = 0; i < timing.bars.size(); ++i) {
        const TimingBar& bar = timing.bars[i];
        const qint64 answer = bar.answerNs < 0 ? -1 : bar.answerNs / Ms;
        EXPECT_EQ((std::vector<qint64>{bar.startNs / Ms, bar.headerEndNs / Ms, answer, bar.endNs / Ms}),
                  (std::vector<qint64>{bars[i].start, bars[i].headerEnd, bars[i].answer, bars[i].end}))
            << "bar " << i;
        EXPECT_EQ(bar.status, bars[i].status) << "bar " << i;
        EXPECT_EQ(look.trace().rows[bar.row].kind, TraceKind::Header);
        EXPECT_EQ(look.trace().rows[bar.row].ref, i);
    }
    using Mark = std::tuple<qint64, TimingMarkKind, TraceKind>; // ms, the mark's kind, its row's
    std::vector<Mark> marks;
    for (const TimingMark& mark : timing.marks)
        marks.emplace_back(mark.atNs / Ms, mark.kind, look.trace().rows[mark.row].kind);
    constexpr auto Null = TimingMarkKind::Null, Reset = TimingMarkKind::Reset;
    EXPECT_EQ(marks, (std::vector<Mark>{{0, Reset, TraceKind::PortOpened},
                                        {10, Null, TraceKind::Null},
                                        {11, Null, TraceKind::Null},
                                        {11, Null, TraceKind::Null},
                                        {19, Reset, TraceKind::LineControl}}));
    EXPECT_EQ(timing.lastNs / Ms, 31);
}

// A command sent before the card answered the one before: each answer ends its own bar.
TEST(TraceTiming, CommandsSentBeforeAnAnswerEachGetTheirOwnAnswer)
{
    TraceDecoding decoding;
    const LinkTimeline run = Steps("open 0; < 3B 00; > A0 B0 00 00 02; > A0 F2 00 00 03; < B0 12 34 90 00; < F2 01 02 03 6A 82");
    decoding.Hand(run);
    ASSERT_EQ(decoding.Progress(10s).events, run.Size());
    const TraceLook look = decoding.Look();
    ASSERT_EQ(look.timing().bars.size(), 2);
    const TimingBar& first = look.timing().bars[0];
    const TimingBar& second = look.timing().bars[1];
    EXPECT_EQ((std::vector<qint64>{first.answerNs / Ms, first.endNs / Ms, second.answerNs / Ms, second.endNs / Ms}),
              (std::vector<qint64>{12, 12, 13, 13}));
    EXPECT_EQ(first.status, StatusClass::Normal);
    EXPECT_EQ(second.status, StatusClass::Error);
}

// However the events are handed over, and while the trace is looked at from
// this thread, the rows come out as the whole timeline decoded at once; rows
// that are settled never change. A decoding left with work ends when it goes.
TEST(TraceDecoding, DecodesEventsHandedOverInAnyChunksWhileLookedAt)
{
    const LinkTimeline whole = DemoRun();
    const Trace expected = DecodeT0(whole);
    for (const qsizetype chunk : {qsizetype(1), qsizetype(7), whole.Size()}) {
        TraceDecoding decoding;
        for (qsizetype next = 0; next < whole.Size(); next += chunk) {
            decoding.Hand(whole.Slice(next, std::min(whole.Size(), next + chunk)));
            const DecodingProgress progress = decoding.Progress(0ms);
            const TraceLook look = decoding.Look();
            EXPECT_EQ(Lines(look.trace(), progress.firstUnsettledRow), Lines(expected, progress.firstUnsettledRow))
                << "events " << chunk << " at a time";
        }
        EXPECT_EQ(decoding.Progress(10s).events, whole.Size());
        const TraceLook look = decoding.Look();
        ASSERT_EQ(look.trace().rows.size(), expected.rows.size());
        EXPECT_EQ(Lines(look.trace(), expected.rows.size()), Lines(expected, expected.rows.size()));
    }
    TraceDecoding abandoned;
    for (int i = 0; i < 100; ++i)
        abandoned.Hand(whole);
}
