#include "FakeTransmitHost.h"

#include "base/KestrinError.h"
#include "base/MessagePump.h"
#include "datafile/DataTransmitter.h"
#include "link/ByteDelay.h"
#include "link/HexToken.h"
#include "link/InvertBytes.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

const QString Sending = QStringLiteral("status Transmiting ... 800000");
const QString Ready = QStringLiteral("status Ready. 008000");
const QString LineEnd = QStringLiteral("log \r\n");

// What the line shows for a byte of the data file: the byte in the inverse convention.
QStringList Sent(std::initializer_list<quint8> bytes)
{
    QStringList events;
    for (const quint8 byte : bytes)
        events << "put " + HexText(InvertByte(byte)) << "byte-delay";
    return events;
}

QStringList Block(std::initializer_list<quint8> bytes)
{
    return QStringList({Sending}) + Sent(bytes) + QStringList({Ready, LineEnd});
}

class DataTransmitterTest : public ::testing::Test {
protected:
    void TearDown() override { MessagePump::SetClosing(false); }

    // Runs with the real byte delay and a command delay that only records its length.
    void Run()
    {
        TransmitWaits waits{[this](const std::function<QString()>& text) {
                                host.events << "byte-delay";
                                RunByteDelay(text);
                            },
                            [this](qint64 passes, const std::function<bool()>&) {
                                host.events << "cmd-delay " + QString::number(passes);
                            }};
        DataTransmitter(host, waits).Run();
    }

    FakeTransmitHost host;
};

} // namespace

TEST_F(DataTransmitterTest, SendsEachBlockAtItsMarkerAfterTheCommandDelays)
{
    host.raw = {"A0 A4 00 00 02", "R", "3F 00", "R"};
    host.commandDelay = "7";
    Run();
    EXPECT_EQ(host.events, QStringList({"cmd-delay 7"}) + Block({0xA0, 0xA4, 0x00, 0x00, 0x02}) +
                               QStringList({"cmd-delay 7"}) + Block({0x3F, 0x00}));
    EXPECT_EQ(host.responseClears, 4);
}

TEST_F(DataTransmitterTest, MarkersSendWhatIsPendingEvenNothing)
{
    host.raw = {"R", "A0", "a1", "r01 next", "Rest"};
    Run();
    EXPECT_EQ(host.events, Block({}) + QStringList({"cmd-delay 0", "cmd-delay 0"}) + Block({0xA0, 0xA1}) + Block({}));
}

TEST_F(DataTransmitterTest, OnlyTheFirstCharacterMakesAMarker)
{
    host.raw = {"", "   ", " R"};
    EXPECT_THROW(Run(), HexLineError) << "\" R\" is a data line whose token is no number";
    EXPECT_EQ(host.events, QStringList());
    EXPECT_EQ(host.responseClears, 3);
}

TEST_F(DataTransmitterTest, DataAfterTheLastMarkerIsNeverSentButDelays)
{
    host.raw = {"A0", "R", "B0 B1", "C0"};
    Run();
    EXPECT_EQ(host.events, QStringList({"cmd-delay 0"}) + Block({0xA0}) + QStringList({"cmd-delay 0", "cmd-delay 0"}));
}

TEST(DataTransmitterLineBytes, ReadsTokensSeparatedBySpacesOnlyUpToTheCommentMark)
{
    const auto bytes = [](const char16_t* line) {
        return DataTransmitter::LineBytes(line, {}).value().toHex(' ').toUpper();
    };
    EXPECT_EQ(bytes(u"  a0  a4 0A "), "A0 A4 0A");
    EXPECT_EQ(bytes(u"1FF 0x3F 13B"), "FF 3F 3B");
    EXPECT_EQ(bytes(u"A0,B0"), "A0");
    EXPECT_EQ(bytes(u"A0\tB0 C0"), "A0 C0");
    // Loading keeps the ";" of "A0 A4 00 00 02 ; select"; it must not become a sixth byte.
    EXPECT_EQ(bytes(u"A0 A4 00 00 02 ;"), "A0 A4 00 00 02");
    EXPECT_EQ(bytes(u"A0 ; note:"), "A0");
    EXPECT_EQ(bytes(u"3F 00:"), "3F 00");
    EXPECT_EQ(bytes(u";"), "");
    EXPECT_FALSE(DataTransmitter::LineBytes(u"", {}).has_value());
    EXPECT_FALSE(DataTransmitter::LineBytes(u"    ", {}).has_value());
}

// Such a token's byte would be unsettled: the run ends, and nothing of the block goes out.
TEST_F(DataTransmitterTest, ATokenWithoutAHexNumberEndsTheRunBeforeItsBlockIsSent)
{
    host.raw = {"A0", "R", "B0 B1", "B2 select B3", "R"};
    try {
        Run();
        FAIL() << "the line was taken";
    } catch (const HexLineError& error) {
        EXPECT_EQ(error.message(),
                  "Raw Data line 4: 'select' is not a hexadecimal number; nothing of its block was sent");
    }
    EXPECT_EQ(host.events, QStringList({"cmd-delay 0"}) + Block({0xA0}) + QStringList({"cmd-delay 0"}));
}

TEST_F(DataTransmitterTest, TakesLongLinesAndLargeBlocksWhole)
{
    QString longLine;
    for (int i = 0; i < 334; ++i)
        longLine += HexText(quint8(i)) + u' ';
    longLine.chop(1); // 1001 characters, 334 bytes
    QString secondLine;
    for (int i = 0; i < 266; ++i)
        secondLine += HexText(quint8(i + 7)) + u' ';
    host.raw = {longLine, secondLine, "R"};
    Run();

    const QStringList puts = host.puts();
    ASSERT_EQ(puts.size(), 600);
    EXPECT_EQ(puts[333], "put " + HexText(InvertByte(quint8(333))));
    EXPECT_EQ(puts[599], "put " + HexText(InvertByte(quint8(265 + 7))));
    EXPECT_EQ(host.events.last(), LineEnd);
}

TEST_F(DataTransmitterTest, ReadsThePaneAgainBeforeEveryLine)
{
    host.raw = {"A0", "R"};
    host.onPut = [this](quint8) {
        if (host.raw.size() == 2)
            host.raw << "B0" << "R";
    };
    Run();
    EXPECT_EQ(host.puts(), QStringList({"put " + HexText(InvertByte(0xA0)), "put " + HexText(InvertByte(0xB0))}));
}

TEST_F(DataTransmitterTest, ClearingActiveFinishesTheBlockThenStops)
{
    host.raw = {"A0 A1", "R", "B0", "R"};
    host.onPut = [this](quint8) { host.active = false; };
    Run();
    EXPECT_EQ(host.events, QStringList({"cmd-delay 0"}) + Block({0xA0, 0xA1}));

    host.events.clear();
    host.responseClears = 0;
    Run();
    EXPECT_TRUE(host.events.isEmpty());
    EXPECT_EQ(host.responseClears, 0);
}

TEST_F(DataTransmitterTest, ClosingTheWindowStopsAtOnce)
{
    host.raw = {"A0 A1 A2", "R", "B0", "R"};
    host.onPut = [](quint8) { MessagePump::SetClosing(true); };
    Run();
    EXPECT_EQ(host.events, QStringList({"cmd-delay 0", Sending}) + Sent({0xA0}));
}

TEST_F(DataTransmitterTest, ABadByteDelayEndsTheRunAfterTheFirstByte)
{
    host.raw = {"A0 A1", "R", "B0", "R"};
    host.byteDelay = "NA";
    try {
        Run();
        FAIL() << "no error for BYTE DELAY NA";
    } catch (const ConversionError& error) {
        EXPECT_EQ(error.message(), "'NA' is not a valid integer value");
    }
    EXPECT_EQ(host.events, QStringList({"cmd-delay 0", Sending}) + Sent({0xA0}));
}

TEST_F(DataTransmitterTest, ABadCommandDelayEndsTheRunAtTheFirstDataLine)
{
    host.raw = {"R", "   ", "A0", "R"};
    host.commandDelay = "";
    EXPECT_THROW(Run(), ConversionError);
    EXPECT_EQ(host.events, Block({}));
    EXPECT_EQ(host.responseClears, 3);
}

TEST_F(DataTransmitterTest, RealWaitsReadTheByteDelayBeforeEveryPassAndLetTheWindowWork)
{
    host.raw = {"A0 A1", "R", "B0", "R"};
    host.byteDelay = "3";
    host.commandDelay = "50";
    host.onPut = [this](quint8) {
        // Unticked during the first byte delay: the block still goes out whole, then the run stops.
        QTimer::singleShot(0, [this] { host.active = false; });
    };
    DataTransmitter(host).Run();
    EXPECT_EQ(host.puts().size(), 2);
    EXPECT_EQ(host.byteDelayReads, 2 * 4);
    EXPECT_EQ(host.events.last(), LineEnd);
    EXPECT_EQ(host.responseClears, 2);
}

TEST_F(DataTransmitterTest, ClearingActiveEndsTheLongestCommandDelay)
{
    host.raw = {"A0", "R"};
    host.commandDelay = "2147483647";
    QTimer::singleShot(1, [this] { host.active = false; });
    DataTransmitter(host).Run();
    EXPECT_TRUE(host.puts().isEmpty());
}
