#include "LinkOnPty.h"

#include <QTimer>

namespace {

// The bytes 00 .. FF, in an order that changes from one run of 256 to the next.
QByteArray Pattern(int count)
{
    QByteArray bytes;
    for (int i = 0; i < count; ++i)
        bytes.append(char(quint8(i ^ (i >> 8))));
    return bytes;
}

} // namespace

TEST_F(LinkOnPty, ACommandLineGoesOutInOrderAndTheAnswerFollowsInTheResponse)
{
    StartAndTakeAtr();
    m_link.SendCommand("00 A4 00 00 02");
    EXPECT_TRUE(m_host.log.endsWith("\r\n"));
    EXPECT_EQ(ReceivedOnceThere(5), Bytes("00A4000002"));
    EXPECT_TRUE(PumpUntilResponseEnds("00 A4 00 00 02 A4 ")); // echo, then the procedure byte

    m_link.SendCommand("3F 00");
    EXPECT_TRUE(PumpUntilResponseEnds("3F 00 61 0F "));

    m_link.SendCommand("00 C0 00 00 0F");
    // Echo, procedure byte, the 15 bytes asked for, status word.
    EXPECT_TRUE(PumpUntil([this] { return m_host.response.size() >= 3 * (5 + 1 + 15 + 2); }));
    EXPECT_TRUE(m_host.response.startsWith("00 C0 00 00 0F C0 "));
    EXPECT_TRUE(m_host.response.endsWith("90 00 "));

    EXPECT_EQ(ReceivedOnceThere(12), Bytes("00A40000023F0000C000000F"));
    EXPECT_EQ(m_host.log.count("\r\n"), 3);
    EXPECT_EQ(QString(m_host.log).remove("\r\n"), AtrText + "00 A4 00 00 02 A4 3F 00 61 0F " + m_host.response);
}

TEST_F(LinkOnPty, WithEchoOffReceivedBytesReachOnlyTheResponse)
{
    StartAndTakeAtr();
    m_link.SetEcho(false);
    m_link.SendCommand("00 A4 00 00 02");
    EXPECT_TRUE(PumpUntilResponseEnds("00 A4 00 00 02 A4 "));
    EXPECT_EQ(m_host.log, AtrText + "\r\n");

    m_link.SetEcho(true);
    m_link.SendCommand("3F 00");
    EXPECT_TRUE(PumpUntilResponseEnds("3F 00 61 0F "));
    EXPECT_EQ(QString(m_host.log).remove("\r\n"), AtrText + "3F 00 61 0F ");
}

TEST_F(LinkOnPty, ABlankLineSendsNothingButEndsTheLogLine)
{
    StartAndTakeAtr();
    m_link.SendCommand("    ");
    EXPECT_EQ(m_host.fakeDialogs.texts("message"), QStringList{"EMPTY LINE"});
    EXPECT_EQ(m_host.response, "");
    EXPECT_EQ(m_host.log, AtrText + "\r\n");

    m_link.SendCommand("55");
    EXPECT_EQ(ReceivedOnceThere(1), Bytes("55"));
}

TEST_F(LinkOnPty, ASendStartedDuringAnotherOnesByteDelayLeavesBothIntact)
{
    StartAndTakeAtr();
    m_host.byteDelay = "20";
    AtNextPass([this] { m_link.SendCommand("A1 A2 A3"); });
    m_link.SendCommand("11 22 33 44");

    QByteArray line = ReceivedOnceThere(7);
    const qsizetype inner = line.indexOf(Bytes("A1A2A3"));
    ASSERT_GE(inner, 1); // it began during the first byte's delay
    EXPECT_EQ(line.remove(inner, 3), Bytes("11223344"));
    EXPECT_EQ(m_host.log.count("\r\n"), 2);
}

TEST_F(LinkOnPty, TenThousandBytesWithoutDelayArriveOnceEachInOrder)
{
    StartAndTakeAtr();
    const QByteArray bytes = Pattern(10000);
    m_link.SendBytes(bytes);
    EXPECT_EQ(ReceivedOnceThere(bytes.size()), bytes);
    EXPECT_TRUE(m_host.fakeDialogs.shown.empty());
}

TEST_F(LinkOnPty, LineChangesWhileBytesFlowLoseNothing)
{
    StartAndTakeAtr();
    m_host.byteDelay = "1"; // a message-pump pass after every byte, in which the changer can run
    QTimer changer;
    int changes = 0;
    QObject::connect(&changer, &QTimer::timeout, [&] { m_link.SetBaudRate(++changes % 2 ? 19200 : 38400); });
    changer.start(0);
    const QByteArray bytes = Pattern(2000);
    m_link.SendBytes(bytes);
    changer.stop();
    EXPECT_GT(changes, 0);
    EXPECT_EQ(ReceivedOnceThere(bytes.size()), bytes);
    EXPECT_TRUE(m_host.ErrorBoxes().isEmpty());
}
