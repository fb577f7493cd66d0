// The card link with a PC/SC reader as its card interface: the simulator's card
// in the virtual reader gives the byte stream its serial interface gives.
#include "base/MessagePump.h"
#include "cardsim/CardSimulator.h"
#include "cardsim/T0Session.h"
#include "link/CardLink.h"
#include "link/CommandLine.h"
#include "link/FakeLinkHost.h"
#include "virtualreader/VirtualReader.h"

#include <atomic>
#include <gtest/gtest.h>
#include <mutex>

namespace {

using namespace std::chrono_literals;

const QString AtrText = ResponseText(SimCard::DefaultAtr());

// Only ends a failing test; nothing is timed by it.
bool PumpUntil(const std::function<bool()>& done, std::chrono::milliseconds patience = 20s)
{
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!done() && std::chrono::steady_clock::now() < deadline)
        MessagePump::PumpOnce();
    return done();
}

// What the simulator's card behind its echoing serial interface gives for `line`.
QString SerialAnswer(T0Session& card, const QString& line, bool echo)
{
    QByteArray stream;
    for (const char byte : DecodeCommand(line))
        stream += (echo ? QByteArray(1, byte) : QByteArray()) + card.feed(quint8(byte));
    return ResponseText(stream);
}

class LinkThroughReader : public ::testing::Test {
protected:
    LinkThroughReader() { m_host.portName = QStringLiteral("pcsc:") + VirtualReader::ReaderName(); }
    ~LinkThroughReader() override { m_link.Stop(); }

    void StartAndTakeAtr()
    {
        m_link.Start();
        ASSERT_TRUE(m_link.Polling());
        ASSERT_TRUE(PumpUntil([this] { return m_host.response.size() >= AtrText.size(); }));
        ASSERT_EQ(m_host.response, AtrText);
    }
    bool PumpUntilResponse(const QString& expected)
    {
        return PumpUntil([&] { return m_host.response.size() >= expected.size(); });
    }

    VirtualReader m_virtual;
    FakeLinkHost m_host;
    CardLink m_link{m_host};
};

// Case 3 (data to the card), case 2 (data from it), 61 xx and 6C xx passed on
// and an instruction the card refuses, with and without the interface's echo;
// then an instruction the table does not know, followed at once by its data
// (case 3) or by nothing (case 2), each guess told in the Active Log.
TEST_F(LinkThroughReader, ExchangesGiveTheSerialInterfacesStream)
{
    for (const bool echo : {true, false}) {
        SCOPED_TRACE(echo ? "echo" : "no echo");
        m_host.echoSentBytes = echo;
        m_host.response.clear();
        StartAndTakeAtr();
        T0Session serial;
        for (const char* line : {"00 A4 00 00 02 3F 00", "00 C0 00 00 0F", "00 A4 00 00 02 2F E2", "00 B0 00 00 0A",
                                 "00 B0 00 00 00", "00 20 00 01 08 31 32 33 34 FF FF FF FF", "00 B2 01 04 00"}) {
            const QString expected = SerialAnswer(serial, QString::fromLatin1(line), echo);
            m_link.SendCommand(QString::fromLatin1(line));
            EXPECT_TRUE(PumpUntilResponse(expected)) << line;
            EXPECT_EQ(m_host.response, expected) << line;
        }
    }
    for (const auto& [line, expected] : {std::pair{"00 50 00 00 02 12 34", "50 6D 00 "}, {"00 50 00 00 02", "6D 00 "}}) {
        m_link.SendCommand(QString::fromLatin1(line));
        EXPECT_TRUE(PumpUntilResponse(QString::fromLatin1(expected))) << line;
        EXPECT_EQ(m_host.response, expected) << line;
    }
    EXPECT_TRUE(m_host.ErrorBoxes().isEmpty());
    EXPECT_EQ(m_host.log.count(QStringLiteral("PC/SC")), 2) << m_host.log.toStdString();
    const QString guess = QStringLiteral("(PC/SC reader: 00 50 00 00 02: an instruction not in the table; ");
    EXPECT_TRUE(m_host.log.contains(guess + "a byte followed within 50 ms, so its data went to the card (case 3))"));
    EXPECT_TRUE(m_host.log.contains(guess + "nothing followed within 50 ms, so the card was asked for its data"));
}

// Raising RTS and lowering it again resets the card, and the reset is over when
// the call returns, as on a serial line (a script gives the ATR only a short
// wait); every line change is otherwise left alone, and the Active Log says so
// once per start.
TEST_F(LinkThroughReader, RtsRaisedThenLoweredResetsTheCardWithItsNewAtr)
{
    StartAndTakeAtr();
    m_virtual.Card().setAtr(QByteArray::fromHex("3B 02 14 50"));
    std::mutex cardLogLock;
    QStringList cardLog;
    m_virtual.Card().setLogger([&](const QString& line) {
        const std::lock_guard guard(cardLogLock);
        cardLog << line;
    });
    m_link.SetBaudRate(9600);
    for (const LineFunction function : {LineFunction::SetBreak, LineFunction::ClrDtr, LineFunction::SetRts,
                                        LineFunction::SetDtr, LineFunction::ClrRts})
        m_link.LineControl(function);
    {
        const std::lock_guard guard(cardLogLock);
        EXPECT_TRUE(cardLog.join(' ').contains(QStringLiteral("ATR 3B 02 14 50"))) << cardLog.join(" | ").toStdString();
    }
    m_virtual.Card().setLogger({});
    m_link.LineControl(LineFunction::ClrBreak);
    m_host.response.clear();
    EXPECT_TRUE(PumpUntilResponse(QStringLiteral("3B 02 14 50 ")));
    EXPECT_EQ(m_host.response, "3B 02 14 50 ");
    m_link.SetBaudRate(19200);
    EXPECT_TRUE(m_host.ErrorBoxes().isEmpty());
    EXPECT_EQ(m_host.log.count(QStringLiteral("(PC/SC reader")), 1) << m_host.log.toStdString();
    m_link.Start();
    m_link.LineControl(LineFunction::SetDtr);
    EXPECT_EQ(m_host.log.count(QStringLiteral("(PC/SC reader")), 2) << "once again after a new start";
}

// A reset's row stands when the reset was asked for, not when the reader had
// done it: before the card, told of the reset, gave its new ATR.
TEST_F(LinkThroughReader, ALineActionIsStampedWhenItWasAskedFor)
{
    StartAndTakeAtr();
    std::atomic<qint64> resetNs{0};
    m_virtual.Card().setLogger([&resetNs](const QString& line) {
        if (line.contains(QStringLiteral("ATR")))
            resetNs = std::chrono::steady_clock::now().time_since_epoch().count();
    });
    m_link.LineControl(LineFunction::SetRts);
    m_link.LineControl(LineFunction::ClrRts);
    m_virtual.Card().setLogger({});
    ASSERT_NE(resetNs, 0);
    const LinkTimeline& timeline = m_link.Timeline();
    qsizetype last = timeline.Size() - 1;
    while (timeline.At(last).kind != LinkEventKind::LineControl)
        --last;
    EXPECT_LT(timeline.At(last).timeNs, resetNs);
}

// The card pulled out between commands or during one, or pcscd stopping: one
// box with pcsc-lite's text, the light red, and nothing more from the commands
// after it. A card pulled during a command is told by whichever notices first,
// the command or the watch on the reader. Each case has a reader of its own.
TEST(LinkLosingTheReader, ALostCardOrServiceIsReportedOnce)
{
    struct Loss {
        const char* name;
        bool midCommand;
        bool pcscdStops;
        QStringList texts;
    };
    const Loss losses[] = {
        {"card pulled between commands", false, false, {"card was removed"}},
        {"card pulled during a command", true, false, {"card was removed", "transaction failed"}},
        {"pcscd stopped", false, true, {"RPC transport error", "service not available"}},
    };
    for (const Loss& loss : losses) {
        SCOPED_TRACE(loss.name);
        VirtualReader reader;
        FakeLinkHost host;
        host.portName = QStringLiteral("pcsc:");
        CardLink link(host);
        link.Start();
        link.SendCommand(QStringLiteral("00 A4 00 00 02 3F 00"));
        if (!loss.midCommand) {
            EXPECT_TRUE(PumpUntil([&host] { return host.response.endsWith(QStringLiteral("61 0F ")); }));
        }
        if (loss.pcscdStops)
            reader.StopPcscd();
        else
            reader.Card().setInserted(false);
        if (loss.midCommand)
            link.SendCommand(QStringLiteral("00 C0 00 00 0F"));
        EXPECT_TRUE(PumpUntil([&host] { return !host.lights.back(); }));
        link.SendCommand(QStringLiteral("00 C0 00 00 0F"));
        PumpUntil([] { return false; }, 500ms); // whatever else might come
        const QStringList boxes = host.ErrorBoxes();
        EXPECT_EQ(boxes.size(), 1) << boxes.join(" | ").toStdString();
        EXPECT_TRUE(boxes.isEmpty() || loss.texts.contains(boxes.first())) << boxes.join(" | ").toStdString();
        EXPECT_EQ(host.lights, (std::vector<bool>{true, false}));
    }
}

TEST(LinkWithoutPcscd, APcscReaderFailsWithThePcscTextAndTheSerialInterfaceStillWorks)
{
    VirtualReader::UsePrivateSocket();
    FakeLinkHost host;
    CardLink link(host);
    host.portName = QStringLiteral("pcsc:");
    link.Start();
    EXPECT_FALSE(link.Polling());
    EXPECT_EQ(host.ErrorBoxes(), QStringList{QStringLiteral("service not available")});
    EXPECT_EQ(host.fakeDialogs.shown.at(0).text,
              "The first PC/SC reader with a card could not be opened (service not available).");
    CardSimulator simulator;
    host.portName = simulator.devicePath();
    link.Start();
    EXPECT_TRUE(PumpUntil([&host] { return host.response == AtrText; }));
    EXPECT_EQ(host.lights, (std::vector<bool>{false, true}));
}

} // namespace
