#include "cardsim/SimCard.h"
#include "cardsim/T0Session.h"
#include "link/InvertBytes.h"
#include "link/PcscPort.h"
#include "link/PcscReader.h"
#include "link/T0Emulation.h"
#include "virtualreader/VirtualReader.h"

#include <cerrno>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(text);
}

QString HexText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

// pcsc-lite's text for the failure of `call`; empty when it succeeds.
template <typename Call>
QString FailureText(Call call)
{
    try {
        call();
    } catch (const PcscError& error) {
        return QString::fromLatin1(error.what());
    }
    return {};
}

class ThroughVirtualReader : public ::testing::Test {
protected:
    void SetUp() override { m_reader.Connect(VirtualReader::ReaderName()); }

    VirtualReader m_virtual;
    PcscReader m_reader;
};

TEST_F(ThroughVirtualReader, TheSimulatorsCardAnswersSelectAndGetResponse)
{
    EXPECT_TRUE(PcscReader::Readers().contains(VirtualReader::ReaderName()));
    EXPECT_EQ(m_reader.Protocol(), 0);
    EXPECT_EQ(m_reader.Atr(), SimCard::DefaultAtr());
    EXPECT_EQ(HexText(m_reader.Transmit(Hex("00 A4 00 00 02 3F 00"))), "61 0F");
    EXPECT_EQ(HexText(m_reader.Transmit(Hex("00 C0 00 00 07"))), "00 00 00 00 3F 00 01 90 00");
    EXPECT_EQ(HexText(m_reader.Transmit(Hex("00 B0 00 00 01"))), "69 86") << "no EF selected";
}

TEST_F(ThroughVirtualReader, WarmResetGivesTheCardsNewAnswerToReset)
{
    EXPECT_EQ(HexText(m_reader.Transmit(Hex("00 A4 00 00 02 3F 00"))), "61 0F");
    m_virtual.Card().setAtr(Hex("3B 00"));
    EXPECT_EQ(HexText(m_reader.Reset()), "3B 00");
    EXPECT_EQ(HexText(m_reader.Transmit(Hex("00 C0 00 00 07"))), "67 00") << "the reset dropped the waiting response";
}

TEST_F(ThroughVirtualReader, ConnectsToTheFirstReaderWithACardAndNamesFailures)
{
    m_reader.Connect({});
    EXPECT_EQ(m_reader.ReaderName(), VirtualReader::ReaderName());
    PcscReader second;
    const auto failure = [&second](const QString& name) { return FailureText([&] { second.Connect(name); }); };
    EXPECT_EQ(failure(VirtualReader::ReaderName()), "Sharing violation.") << "held exclusively";
    EXPECT_EQ(failure(QStringLiteral("Kestrin virtual reader 00 01")), "No smart card inserted.");
    EXPECT_EQ(failure(QStringLiteral("no such reader")), "Unknown reader specified.");
    m_reader.Disconnect();
    EXPECT_NO_THROW(second.Connect(VirtualReader::ReaderName()));
}

// The stream the program sees through the reader is the one the simulator's card
// gives through a serial interface that echoes: each byte sent, then whatever
// the card answers to it.
TEST_F(ThroughVirtualReader, EmulatedStreamMatchesTheSerialInterfaces)
{
    T0Emulation emulation(m_reader);
    T0Session serial;
    QByteArray expected;
    T0Emulation::Clock::time_point now;
    for (const char* line : {"A0 A4 00 00 02 3F 00", "A0 C0 00 00 0F", "00 A4 00 00 02 2F E2", "00 C0 00 00 10",
                             "00 B0 00 00 0A", "00 A4 00 00 02 00 02", "00 B2 01 04 08", "00 B2 01 04 10",
                             "00 20 00 01 08 31 32 33 34 FF FF FF FF", "00 20 00 01 00", "00 CA 00 00 02",
                             "00 50 00 00 02"}) {
        for (const char byte : Hex(line)) {
            expected += byte + serial.feed(quint8(byte));
            emulation.Send(quint8(byte), now += 1ms);
        }
        emulation.Idle(now += 1s);
    }
    EXPECT_EQ(HexText(emulation.TakeReceived()), HexText(expected));
}

// What the port gives now, in card values.
QString ReadAll(PcscPort& port)
{
    QByteArray bytes;
    char buffer[256];
    for (ssize_t count; (count = port.Read(buffer, sizeof buffer)) > 0;)
        bytes += QByteArray(buffer, count);
    InvertBytes(bytes);
    return HexText(bytes);
}

// Two commands in one write: the port takes the first and, while the card's
// answer to it waits, nothing more; so the link's worker hands each answer over
// as soon as the card gave it.
TEST(ThroughVirtualReaderPort, AWriteEndsWithTheCommandItCompletes)
{
    VirtualReader virtualReader;
    PcscPort port;
    ASSERT_EQ(port.Open(VirtualReader::ReaderName(), false), 0);
    EXPECT_EQ(ReadAll(port), HexText(SimCard::DefaultAtr()));
    QByteArray line = Hex("00 A4 00 00 02 3F 00 00 C0 00 00 07");
    InvertBytes(line);
    const auto* bytes = reinterpret_cast<const quint8*>(line.constData());
    EXPECT_EQ(port.Write(bytes, size_t(line.size())), 7);
    EXPECT_EQ(port.Write(bytes + 7, 5), -1);
    EXPECT_EQ(errno, EAGAIN);
    EXPECT_EQ(ReadAll(port), "A4 61 0F");
    EXPECT_EQ(port.Write(bytes + 7, 5), 5);
    EXPECT_EQ(ReadAll(port), "C0 00 00 00 00 3F 00 01 90 00");
}

TEST(ThroughVirtualReaderT1, AcceptsACardThatOffersOnlyT1)
{
    VirtualReader virtualReader(Hex("3B 80 01 81")); // TD1: T=1 alone
    PcscReader reader;
    reader.Connect(VirtualReader::ReaderName());
    EXPECT_EQ(reader.Protocol(), 1);
    EXPECT_EQ(HexText(reader.Transmit(Hex("00 A4 00 00 02 3F 00"))), "61 0F");
    // The stream sends SELECT as case 4; this card announces its data itself.
    T0Emulation emulation(reader);
    for (const char byte : Hex("00 A4 00 00 02 3F 00 00 C0 00 00 07"))
        emulation.Send(quint8(byte), {});
    emulation.Idle({});
    EXPECT_EQ(HexText(emulation.TakeReceived()),
              "00 A4 00 00 02 A4 3F 00 61 0F 00 C0 00 00 07 C0 00 00 00 00 3F 00 01 90 00");
}

TEST(WithoutPcscd, EveryCallFailsWithThePcscText)
{
    VirtualReader::UsePrivateSocket();
    EXPECT_EQ(FailureText(PcscReader::Readers), "Service not available.");
    PcscReader reader;
    EXPECT_EQ(FailureText([&reader] { reader.Connect({}); }), "Service not available.");
    EXPECT_FALSE(reader.IsConnected());
}

} // namespace

namespace {

TEST(ThroughVirtualReaderReplug, ACardPulledOutAndInsertedAgainAnswersAsNew)
{
    VirtualReader virtualReader;
    PcscReader reader;
    reader.Connect({});
    EXPECT_EQ(HexText(reader.Transmit(Hex("00 A4 00 00 02 3F 00"))), "61 0F");
    virtualReader.Card().setInserted(false);
    virtualReader.WaitForCard(false);
    EXPECT_EQ(FailureText([&reader] { reader.Transmit(Hex("00 C0 00 00 07")); }), "Card was removed.");
    reader.Disconnect();
    virtualReader.Card().setInserted(true);
    virtualReader.WaitForCard(true);
    reader.Connect({});
    EXPECT_EQ(HexText(reader.Transmit(Hex("00 C0 00 00 07"))), "67 00") << "nothing waits in a new card";
}

} // namespace
