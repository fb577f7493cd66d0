#include "PtyClient.h"

#include "cardsim/CardSimulator.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <poll.h>

namespace {

using namespace std::chrono_literals;

// A bound on waits that only ends a failing test; nothing is timed by it.
constexpr auto kPatience = 10s;

const QByteArray kAtrOnLine = Line("3F 65 25 00 2C 09 69 90 00");

class CardSimulatorOnPty : public ::testing::Test {
protected:
    // Opens the device as the program does and takes the ATR.
    std::unique_ptr<PtyClient> open(const QString& path)
    {
        auto client = std::make_unique<PtyClient>(path);
        EXPECT_TRUE(client->isOpen());
        EXPECT_EQ(client->read(kAtrOnLine.size()), kAtrOnLine);
        return client;
    }

    CardSimulator m_simulator;
};

TEST_F(CardSimulatorOnPty, SendsTheEncodedAtrOnEveryOpen)
{
    auto client = open(m_simulator.devicePath());
    EXPECT_EQ(quint8(kAtrOnLine[0]), 0x03);
    EXPECT_TRUE(m_simulator.waitForOpens(1, kPatience));
    client->close();
    EXPECT_TRUE(m_simulator.waitForCloses(1, kPatience));
    m_simulator.setAtr(QByteArray::fromHex("3B 00"));
    client = std::make_unique<PtyClient>(m_simulator.devicePath());
    EXPECT_EQ(client->read(2), Line("3B 00"));
    EXPECT_EQ(m_simulator.opens(), 2);
}

TEST_F(CardSimulatorOnPty, AnswersEveryQuickCloseAndReopen)
{
    auto client = open(m_simulator.devicePath());
    for (int reopen = 0; reopen < 20; ++reopen) {
        client.reset();
        client = open(m_simulator.devicePath());
    }
    EXPECT_EQ(m_simulator.opens(), 21);
    EXPECT_EQ(m_simulator.closes(), 20);
}

TEST_F(CardSimulatorOnPty, SecondOpenerJoinsTheSession)
{
    auto client = open(m_simulator.devicePath());
    PtyClient second(m_simulator.devicePath());
    client->close();
    second.write(Line("00 B0 00 00 01"));
    EXPECT_EQ(Decoded(second.read(7)).toHex(' '), "00 b0 00 00 01 69 86");
    EXPECT_EQ(m_simulator.opens(), 1);
    EXPECT_EQ(m_simulator.closes(), 0);
}

TEST_F(CardSimulatorOnPty, EchoesEachByteThenAnswers)
{
    auto client = open(m_simulator.devicePath());
    client->write(Line("00 A4 00 00 02"));
    EXPECT_EQ(Decoded(client->read(6)).toHex(' '), "00 a4 00 00 02 a4");
    client->write(Line("2F E2"));
    EXPECT_EQ(Decoded(client->read(4)).toHex(' '), "2f e2 61 0f");
    EXPECT_TRUE(m_simulator.waitForReceived(7, kPatience));
    EXPECT_EQ(m_simulator.received().toHex(' '), "00 a4 00 00 02 2f e2");
}

TEST_F(CardSimulatorOnPty, AnswersWithoutEchoWhenSwitchedOff)
{
    m_simulator.setEcho(false);
    m_simulator.setReply(QByteArray::fromHex("00CA"), QByteArray::fromHex("CA 01 90 00"));
    auto client = open(m_simulator.devicePath());
    client->write(Line("00 CA 00 00 01"));
    EXPECT_EQ(Decoded(client->read(4)).toHex(' '), "ca 01 90 00");
    m_simulator.clearReceived();
    client->write(Line("00 B0 00 00 01"));
    EXPECT_EQ(Decoded(client->read(2)).toHex(' '), "69 86");
    EXPECT_EQ(m_simulator.received().toHex(' '), "00 b0 00 00 01");
}

TEST_F(CardSimulatorOnPty, PacedStreamArrivesWholeInOrderNoFasterThanTheLine)
{
    auto client = open(m_simulator.devicePath());
    constexpr qsizetype count = 300;
    const auto start = std::chrono::steady_clock::now();
    m_simulator.sendCount(count, Pace{38400});
    const QByteArray stream = Decoded(client->read(count));
    const auto elapsed = std::chrono::steady_clock::now() - start;
    ASSERT_EQ(stream.size(), count);
    for (qsizetype i = 0; i < count; ++i)
        ASSERT_EQ(quint8(stream[i]), quint8(i)) << i;
    EXPECT_GE(elapsed, LineOutput::ByteTime(38400) * (count - 1));
    EXPECT_TRUE(m_simulator.waitUntilSent(kPatience));
}

TEST_F(CardSimulatorOnPty, FastStreamLargerThanThePtyBufferArrivesWhole)
{
    auto client = open(m_simulator.devicePath());
    QByteArray expected;
    for (int i = 0; i < 200000; ++i)
        expected.append(char(i * 7));
    m_simulator.send(expected);
    EXPECT_EQ(Decoded(client->read(expected.size())), expected);
}

TEST_F(CardSimulatorOnPty, BytesSentWhileClosedAreLost)
{
    m_simulator.send(QByteArray::fromHex("11 22"));
    auto client = open(m_simulator.devicePath());
    m_simulator.send(QByteArray::fromHex("33"));
    EXPECT_EQ(Decoded(client->read(1)).toHex(), "33");
}

TEST_F(CardSimulatorOnPty, HangUpMakesTheDeviceVanishAndRestoreBringsANewOne)
{
    QTemporaryDir folder;
    const QString link = folder.filePath("card");
    CardSimulator simulator(link);
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), simulator.devicePath());
    auto client = open(link);
    const QString oldPath = simulator.devicePath();
    simulator.hangUp();
    EXPECT_TRUE(simulator.devicePath().isEmpty());
    EXPECT_FALSE(QFileInfo::exists(oldPath));
    EXPECT_TRUE(client->pollEvents() & POLLHUP);
    EXPECT_LE(client->readOnce(), 0);
    EXPECT_EQ(simulator.closes(), 1);
    simulator.restore();
    EXPECT_EQ(QFileInfo(link).symLinkTarget(), simulator.devicePath());
    client = open(link);
    EXPECT_EQ(simulator.opens(), 2);
}

TEST(CardSimulatorLink, IsRemovedAtTheEndAndNeverReplacesAFile)
{
    QTemporaryDir folder;
    const QString link = folder.filePath("card");
    {
        CardSimulator simulator(link);
        EXPECT_TRUE(QFileInfo(link).isSymLink());
    }
    EXPECT_FALSE(QFileInfo(link).isSymLink());
    QFile file(link);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    EXPECT_THROW(CardSimulator{link}, std::system_error);
    EXPECT_TRUE(QFileInfo(link).isFile());
}

} // namespace
