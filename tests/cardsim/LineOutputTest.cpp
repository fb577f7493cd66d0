#include "cardsim/HexBytes.h"
#include "cardsim/LineOutput.h"

#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;
using Clock = LineOutput::Clock;

TEST(LineOutput, ByteTimeIsTwelveBitTimes)
{
    EXPECT_EQ(LineOutput::ByteTime(9600), 1250us);
    EXPECT_EQ(LineOutput::ByteTime(0), Clock::duration::zero());
}

TEST(LineOutput, PacedBytesFallDueOneByteTimeApart)
{
    LineOutput output;
    const Clock::time_point start{};
    output.append("abcd", Pace{9600}, start);
    EXPECT_EQ(output.due(start), "a");
    output.written(1, start);
    EXPECT_EQ(output.nextDue(), start + 1250us);
    EXPECT_EQ(output.due(start + 1249us), "");
    EXPECT_EQ(output.due(start + 2500us), "bc") << "a late writer catches up";
    output.written(2, start + 2500us);
    EXPECT_EQ(output.due(start + 1s), "d");
}

TEST(LineOutput, ChunkStartsWhenTheOneBeforeIsDone)
{
    LineOutput output;
    const Clock::time_point start{};
    output.append("ab", Pace{9600}, start);
    output.append("xy", Pace{}, start);
    output.append("pq", Pace{9600}, start);
    output.written(output.due(start + 1250us).size(), start + 1250us);
    EXPECT_EQ(output.due(start + 1250us), "xy");
    output.written(2, start + 5ms);
    EXPECT_EQ(output.due(start + 5ms), "p") << "paced from when it reached the front";
    output.written(1, start + 5ms);
    EXPECT_EQ(output.nextDue(), start + 5ms + 1250us);
    output.written(1, start + 7ms);
    EXPECT_TRUE(output.empty());
    EXPECT_FALSE(output.nextDue().has_value());
}

TEST(LineOutput, PartialWritesKeepTheRest)
{
    LineOutput output;
    output.append("hello", Pace{}, Clock::now());
    output.written(2, Clock::now());
    EXPECT_EQ(output.due(Clock::now()), "llo");
}

TEST(ParseHexBytes, AcceptsPairsWithOrWithoutBlanks)
{
    EXPECT_EQ(ParseHexBytes(" 3F 65 25 "), QByteArray::fromHex("3F6525"));
    EXPECT_EQ(ParseHexBytes("3f6525"), QByteArray::fromHex("3F6525"));
    for (const char* bad : {"", "  ", "3F 6", "3F,65", "0x3F", "GG"})
        EXPECT_FALSE(ParseHexBytes(bad).has_value()) << bad;
}

} // namespace
