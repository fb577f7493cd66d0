#include "LinkOnPty.h"

#include <QStringList>
#include <chrono>

namespace {

// The timeline's events from `first` on, one text each, with every run of traffic
// in one text: the bytes sent, then the bytes received, each run joined, because
// how the line cuts it into chunks is the system's choice. Also checks that the
// times never go back and that no echo comes before the byte it repeats.
QStringList Events(const LinkTimeline& timeline, qsizetype first = 0)
{
    QStringList texts;
    QByteArray sent;
    QByteArray received;
    const auto endTraffic = [&] {
        QStringList traffic;
        if (!sent.isEmpty())
            traffic << "out " + sent.toHex(' ');
        if (!received.isEmpty())
            traffic << "in " + received.toHex(' ');
        if (!traffic.isEmpty())
            texts << traffic.join(' ');
        sent.clear();
        received.clear();
    };
    qint64 lastTime = 0;
    for (qsizetype i = first; i < timeline.Size(); ++i) {
        const LinkEvent event = timeline.At(i);
        EXPECT_GE(event.timeNs, lastTime) << "event " << i;
        lastTime = event.timeNs;
        switch (event.kind) {
        case LinkEventKind::Sent: sent += event.bytes.toByteArray(); break;
        case LinkEventKind::Received: received += event.bytes.toByteArray(); break;
        case LinkEventKind::Opened: endTraffic(); texts << "open"; break;
        case LinkEventKind::Closed: endTraffic(); texts << "close"; break;
        case LinkEventKind::BaudChanged: endTraffic(); texts << "baud " + QString::number(event.value); break;
        case LinkEventKind::LineControl: endTraffic(); texts << "line " + QString::number(event.value); break;
        }
    }
    endTraffic();
    return texts;
}

} // namespace

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

    EXPECT_EQ(Events(m_link.Timeline()),
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
