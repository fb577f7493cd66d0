// Long runs at the size CI affords; the link's soak benchmark runs them full size.
#include "LinkOnPty.h"

#include "base/MessagePump.h"

#include <QDir>
#include <random>

namespace {

int Threads()
{
    return int(QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot).size());
}

// Where two texts first differ; -1 when they are the same.
qsizetype FirstDifference(const QString& a, const QString& b)
{
    const qsizetype common = std::min(a.size(), b.size());
    for (qsizetype i = 0; i < common; ++i)
        if (a[i] != b[i])
            return i;
    return a.size() == b.size() ? -1 : common;
}

} // namespace

TEST_F(LinkOnPty, RandomBytesComeBackFromAnEchoingLineByteForByte)
{
    StartAndTakeAtr();
    m_simulator.setCardSilent(true);
    QByteArray bytes(100'000, Qt::Uninitialized);
    std::mt19937 random(20261209);
    for (char& byte : bytes)
        byte = char(random());
    m_host.response.clear();
    m_host.log.clear();
    m_link.SendBytes(bytes);
    ASSERT_TRUE(PumpUntil([&] { return m_host.response.size() >= 3 * bytes.size(); }));
    MessagePump::PumpTimes(100); // nothing more comes
    const QString expected = ResponseText(bytes);
    EXPECT_EQ(FirstDifference(m_host.response, expected), -1);
    EXPECT_EQ(FirstDifference(m_host.log, expected), -1);
    EXPECT_TRUE(m_simulator.received() == bytes);
    EXPECT_TRUE(m_host.fakeDialogs.shown.empty());
}

TEST_F(LinkOnPty, StartingAgainAndAgainWhileTheCardStreamsLeavesNoDescriptorOrThreadBehind)
{
    StartAndTakeAtr();
    const int descriptors = OpenDescriptors();
    const int threads = Threads();
    const qsizetype firstEvent = m_link.Timeline().Size();
    for (int start = 1; start <= 200; ++start) {
        m_simulator.sendCount(5'000); // cut short by the start that follows
        MessagePump::PumpTimes(10);
        m_host.response.clear();
        m_host.log.clear();
        m_link.Start();
        ASSERT_TRUE(m_link.Polling()) << "start " << start;
        ASSERT_TRUE(m_simulator.waitForOpens(start + 1, Patience)) << "start " << start;
    }
    EXPECT_EQ(OpenDescriptors(), descriptors);
    EXPECT_EQ(Threads(), threads);
    qsizetype streamed = 0;
    for (qsizetype i = firstEvent; i < m_link.Timeline().Size(); ++i)
        streamed += m_link.Timeline().At(i).bytes.size();
    EXPECT_GT(streamed, 100'000) << "the card streamed meanwhile";
    EXPECT_EQ(m_host.ErrorBoxes(), QStringList{});
    ASSERT_TRUE(PumpUntil([this] { return m_host.response.contains(AtrText); }));
    m_link.SendCommand("00 A4 00 00 02");
    EXPECT_TRUE(PumpUntilResponseEnds("00 A4 00 00 02 A4 "));
}
