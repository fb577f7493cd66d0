#include "LinkOnPty.h"

#include <chrono>

TEST_F(LinkOnPty, TheTimelineRecordsOpensTrafficAndLineChangesInOrderAcrossRestarts)
{
    const qint64 wallBefore = std::chrono::duration_cast<std::chrono::nanoseconds>(
                                  std::chrono::system_clock::now().time_since_epoch()).count();
    StartAndTakeAtr();
    m_link.SendCommand("00 A4 00 00 02");
    ASSERT_TRUE(PumpUntilResponseEnds("00 A4 00 00 02 A4 "));
    m_link.SetBaudRate(19200);
    m_link.LineControl(LineFunction::SetBreak);
    m_link.LineControl(LineFunction::ClrBreak);
    ASSERT_EQ(m_host.ErrorBoxes(), QStringList{}) << "break is accepted on a pseudo-terminal";
    const qsizetype firstRun = m_link.Timeline().Size();
    m_host.response.clear();
    StartAndTakeAtr();
    m_link.Stop();

    EXPECT_EQ(TimelineTexts(m_link.Timeline()),
              (QStringList{"open", "baud 9600", "out 00 a4 00 00 02 in 3f 65 25 00 2c 09 69 90 00 00 a4 00 00 02 a4",
                           "baud 19200", "line 8", "line 9", "close", "open", "baud 9600",
                           "in 3f 65 25 00 2c 09 69 90 00", "close"}));
    const LinkEvent opened = m_link.Timeline().At(0);
    EXPECT_GE(opened.value, wallBefore);
    EXPECT_LT(opened.value, wallBefore + std::chrono::nanoseconds(Patience).count());
    EXPECT_EQ(m_link.Timeline().At(firstRun).kind, LinkEventKind::Closed);

    // Every echo comes after the byte it repeats, and the card's procedure byte
    // after the whole header.
    qsizetype sent = 0;
    qsizetype answered = -9; // the ATR's 9 bytes come first
    for (qsizetype i = 0; i < firstRun; ++i) {
        const LinkEvent event = m_link.Timeline().At(i);
        if (event.kind == LinkEventKind::Sent)
            sent += event.bytes.size();
        if (event.kind == LinkEventKind::Received)
            answered += event.bytes.size();
        EXPECT_LE(answered, sent + (sent == 5 ? 1 : 0)) << "event " << i;
    }
}
