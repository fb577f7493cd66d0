#include "LinkOnPty.h"

#include "base/KestrinError.h"
#include "base/MessagePump.h"

#include <cerrno>

TEST_F(LinkOnPty, AByteDelayThatIsNoNumberEndsTheSendAfterTheFirstByte)
{
    StartAndTakeAtr();
    m_host.byteDelay = "NA";
    try {
        m_link.SendCommand("11 22 33");
        ADD_FAILURE() << "no conversion error";
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.message(), "'NA' is not a valid integer value");
    }
    EXPECT_FALSE(m_host.log.contains("\r\n"));

    m_host.byteDelay = "0";
    m_link.SendCommand("44");
    EXPECT_EQ(ReceivedOnceThere(2), Bytes("1144"));
}

TEST_F(LinkOnPty, BytesPutWhileNothingPollsAreNeverSent)
{
    m_link.PutByte(0x11);
    m_link.SendCommand("22 33");
    EXPECT_TRUE(m_host.fakeDialogs.shown.empty());
    EXPECT_EQ(m_host.log, "\r\n");

    StartAndTakeAtr();
    m_link.Stop();
    m_link.SendCommand("66");
    StartAndTakeAtr();
    m_link.SendCommand("44");
    EXPECT_EQ(ReceivedOnceThere(1), Bytes("44"));
}

TEST_F(LinkOnPty, AByteDelayEditedDuringTheDelayTakesEffectAtOnce)
{
    StartAndTakeAtr();
    m_host.byteDelay = "100000000";
    AtNextPass([this] { m_host.byteDelay = "0"; });
    m_link.SendCommand("11 22");
    EXPECT_EQ(ReceivedOnceThere(2), Bytes("1122"));
}

TEST_F(LinkOnPty, ClosingTheWindowEndsALongByteDelayAtItsNextCheck)
{
    StartAndTakeAtr();
    m_host.byteDelay = "100000000";
    int readsWhenClosing = 0;
    AtNextPass([&] {
        MessagePump::SetClosing(true);
        readsWhenClosing = m_host.delayReads;
    });
    m_link.SendCommand("11 22 33");
    EXPECT_LE(m_host.delayReads - readsWhenClosing, 1);

    MessagePump::SetClosing(false);
    m_host.byteDelay = "0";
    m_link.SendCommand("44");
    EXPECT_EQ(ReceivedOnceThere(2), Bytes("1144"));
}

TEST_F(LinkOnPty, StopDuringASendDropsTheRestWithoutAReport)
{
    StartAndTakeAtr();
    m_host.byteDelay = "1000";
    AtNextPass([this] { m_link.Stop(); });
    m_link.SendCommand("11 22 33");
    EXPECT_FALSE(m_link.Polling());
    EXPECT_TRUE(m_host.fakeDialogs.shown.empty());
    EXPECT_TRUE(m_host.log.endsWith("\r\n"));

    m_link.Start(); // the first byte may still be echoed, before or after the ATR
    EXPECT_TRUE(PumpUntil([this] { return m_host.response.contains(AtrText); })) << m_host.response.toStdString();
    m_host.byteDelay = "0";
    m_link.SendCommand("44");
    EXPECT_TRUE(PumpUntil([this] { return m_simulator.received().endsWith(char(0x44)); }));
    const QByteArray line = m_simulator.received();
    EXPECT_TRUE(line == Bytes("44") || line == Bytes("1144")) << line.toHex(' ').constData();
}

TEST_F(LinkOnPty, ALineThatVanishesDuringASendEndsItWithOneReport)
{
    StartAndTakeAtr();
    m_host.byteDelay = "100";
    AtNextPass([this] { m_simulator.hangUp(); });
    m_link.SendCommand("11 22 33 44 55 66 77 88");
    ASSERT_TRUE(PumpUntil([this] { return !m_link.Polling(); }));
    MessagePump::PumpTimes(1000);
    EXPECT_EQ(m_host.ErrorBoxes(), QStringList{SystemText(EIO)});
    EXPECT_EQ(m_host.fakeDialogs.shown.size(), 1u);
    EXPECT_EQ(m_host.lights.back(), false);
}

// A stop (a new start, the window closing, a run's end) lets the bytes already
// handed over leave first, though the worker is busy with the bytes before them.
TEST_F(LinkOnPty, BytesHandedOverBeforeAStopLeaveBeforeThePortCloses)
{
    QByteArray bytes;
    for (int i = 0; i < 10000; ++i)
        bytes.append(char(i));
    for (int start = 0; start < 5; ++start) {
        const qsizetype first = m_link.Timeline().Size();
        m_link.Start();
        m_link.SendBytes(bytes);
        m_link.Stop();
        const QStringList texts = TimelineTexts(m_link.Timeline(), first, false);
        ASSERT_EQ(texts.size(), 4) << texts.join(" | ").left(200).toStdString();
        EXPECT_EQ(texts[2], "out " + bytes.toHex(' ')) << "sent: " << (texts[2].size() - 3) / 3;
    }
}
