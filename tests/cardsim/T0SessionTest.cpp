#include "FeedCard.h"
#include "cardsim/T0Session.h"

#include <gtest/gtest.h>

namespace {

// Feeds a command line of hexadecimal bytes to the session and returns
// everything it sent back, as hexadecimal text.
QByteArray Send(T0Session& session, const char* command)
{
    return FeedHex(session, command);
}

class CardSession : public ::testing::Test {
protected:
    QByteArray send(const char* command) { return Send(m_session, command); }
    void verifyPin() { ASSERT_EQ(send("00 20 00 01 08 31 32 33 34 FF FF FF FF"), "20 90 00"); }

    T0Session m_session;
};

TEST_F(CardSession, SendsProcedureByteBeforeDataInAndAfterHeaderForDataOut)
{
    EXPECT_EQ(Send(m_session, "00 A4 00 00 02"), "A4");
    EXPECT_EQ(send("2F"), "");
    EXPECT_EQ(send("E2"), "61 0F");
    EXPECT_EQ(send("00 B0 00 00 02"), "B0 98 94 90 00");
}

TEST_F(CardSession, RefusesUnknownClassAndInstructionWithoutProcedureByte)
{
    EXPECT_EQ(send("80 A4 00 00 02"), "6E 00");
    EXPECT_EQ(send("00 CA 00 00 02"), "6D 00");
    EXPECT_EQ(send("A0 DC 01 04 10"), "6D 00");
    EXPECT_EQ(send("00 B0 00 00 01"), "69 86") << "a refused header leaves the session in step";
}

TEST_F(CardSession, SelectLeavesFileInformationForGetResponse)
{
    EXPECT_EQ(send("A0 A4 00 00 02 00 02"), "A4 9F 0F");
    EXPECT_EQ(send("A0 C0 00 00 10"), "67 00");
    EXPECT_EQ(send("A0 C0 00 00 0F"), "C0 00 00 00 50 00 02 04 00 0F 00 00 01 02 01 10 90 00");
    EXPECT_EQ(send("A0 C0 00 00 0F"), "67 00") << "the response is fetched once";
    EXPECT_EQ(send("00 A4 00 00 02 3F 00"), "A4 61 0F");
    EXPECT_EQ(send("00 C0 00 00 07"), "C0 00 00 00 00 3F 00 01 90 00");
}

TEST_F(CardSession, AnyOtherCommandDropsTheWaitingResponse)
{
    send("00 A4 00 00 02 00 01");
    EXPECT_EQ(send("00 B0 00 00 01"), "B0 48 90 00");
    EXPECT_EQ(send("00 C0 00 00 0F"), "67 00");
}

TEST_F(CardSession, SelectOfMissingFileKeepsTheSelection)
{
    send("00 A4 00 00 02 00 01");
    EXPECT_EQ(send("00 A4 00 00 02 12 34"), "A4 6A 82");
    EXPECT_EQ(send("A0 A4 00 00 02 12 34"), "A4 94 04");
    EXPECT_EQ(send("00 A4 00 00 03 00 01 00"), "A4 67 00");
    EXPECT_EQ(send("00 A4 00 00 00"), "67 00");
    EXPECT_EQ(send("00 B0 00 00 05"), "B0 48 45 4C 4C 4F 90 00");
}

TEST_F(CardSession, ReadBinaryChecksSelectionStructureAndRange)
{
    EXPECT_EQ(send("00 B0 00 00 01"), "69 86");
    send("00 A4 00 00 02 2F E2");
    EXPECT_EQ(send("00 B0 00 08 02"), "B0 01 F2 90 00");
    EXPECT_EQ(send("00 B0 00 08 03"), "6B 00");
    EXPECT_EQ(send("00 B0 00 0B 01"), "6B 00");
    EXPECT_EQ(send("00 B0 00 00 00"), "6B 00") << "Le 00 asks for 256 bytes";
    send("00 A4 00 00 02 00 02");
    EXPECT_EQ(send("00 B0 00 00 01"), "69 81");
}

TEST_F(CardSession, ReadRecordGivesNamedRecords)
{
    send("A0 A4 00 00 02 00 02");
    EXPECT_EQ(send("A0 B2 01 04 10"), "B2 41 4C 49 43 45 FF FF FF FF FF FF FF FF FF FF FF 90 00");
    EXPECT_EQ(send("00 B2 05 04 10"), "B2 45 56 45 FF FF FF FF FF FF FF FF FF FF FF FF FF 90 00");
    EXPECT_EQ(send("00 B2 06 04 10"), "6A 83");
    EXPECT_EQ(send("A0 B2 00 04 10"), "94 02");
    EXPECT_EQ(send("00 B2 01 02 10"), "6A 86");
    EXPECT_EQ(send("A0 B2 01 03 10"), "6B 00");
    EXPECT_EQ(send("00 B2 01 04 08"), "6C 10");
    EXPECT_EQ(send("A0 B2 01 04 08"), "67 10");
    send("00 A4 00 00 02 00 01");
    EXPECT_EQ(send("00 B2 01 04 10"), "69 81");
}

TEST_F(CardSession, UpdateBinaryNeedsThePin)
{
    send("00 A4 00 00 02 00 01");
    EXPECT_EQ(send("00 D6 00 00 02 41 42"), "D6 69 82");
    EXPECT_EQ(send("A0 D6 00 00 02 41 42"), "D6 98 04");
    verifyPin();
    EXPECT_EQ(send("00 D6 00 0E 02 41 42"), "D6 90 00");
    EXPECT_EQ(send("00 D6 00 0F 02 41 42"), "D6 6B 00");
    EXPECT_EQ(send("00 D6 00 00 00"), "67 00");
    EXPECT_EQ(send("00 B0 00 0C 04"), "B0 FF FF 41 42 90 00");
}

TEST_F(CardSession, UpdateBinaryRefusesOtherFiles)
{
    verifyPin();
    EXPECT_EQ(send("00 D6 00 00 01 00"), "D6 69 86");
    send("00 A4 00 00 02 2F E2");
    EXPECT_EQ(send("00 D6 00 00 01 00"), "D6 69 82") << "the ICCID is never updated";
    send("00 A4 00 00 02 00 02");
    EXPECT_EQ(send("00 D6 00 00 01 00"), "D6 69 81");
}

TEST_F(CardSession, WrongPinsCountDownAndBlockIsoStyle)
{
    EXPECT_EQ(send("00 20 00 01 08 31 31 31 31 FF FF FF FF"), "20 63 C2");
    EXPECT_EQ(send("00 20 00 01 08 31 31 31 31 FF FF FF FF"), "20 63 C1");
    verifyPin();
    EXPECT_EQ(send("00 20 00 01 08 31 31 31 31 FF FF FF FF"), "20 63 C2") << "a right PIN restores the tries";
    send("00 20 00 01 08 31 31 31 31 FF FF FF FF");
    EXPECT_EQ(send("00 20 00 01 08 31 31 31 31 FF FF FF FF"), "20 63 C0");
    EXPECT_EQ(send("00 20 00 01 08 31 32 33 34 FF FF FF FF"), "20 69 83");
    m_session.reset();
    EXPECT_EQ(send("00 20 00 01 08 31 32 33 34 FF FF FF FF"), "20 69 83") << "a reset does not unblock";
}

TEST_F(CardSession, WrongPinsCountDownAndBlockGsmStyle)
{
    EXPECT_EQ(send("A0 20 00 01 08 30 30 30 30 FF FF FF FF"), "20 98 04");
    EXPECT_EQ(send("A0 20 00 01 08 30 30 30 30 FF FF FF FF"), "20 98 04");
    EXPECT_EQ(send("A0 20 00 01 08 30 30 30 30 FF FF FF FF"), "20 98 40");
    EXPECT_EQ(send("A0 20 00 01 08 31 32 33 34 FF FF FF FF"), "20 98 40");
}

TEST_F(CardSession, VerifyChecksItsParameters)
{
    EXPECT_EQ(send("00 20 01 01 08 31 32 33 34 FF FF FF FF"), "20 6A 86");
    EXPECT_EQ(send("00 20 00 02 08 31 32 33 34 FF FF FF FF"), "20 6A 88");
    EXPECT_EQ(send("A0 20 00 02 08 31 32 33 34 FF FF FF FF"), "20 98 02");
    EXPECT_EQ(send("00 20 00 01 04 31 32 33 34"), "20 67 00");
    EXPECT_EQ(send("00 20 00 01 08 31 31 31 31 FF FF FF FF"), "20 63 C2") << "refused commands use no try";
}

TEST_F(CardSession, ResetSelectsTheMfAndForgetsThePin)
{
    verifyPin();
    send("00 A4 00 00 02 00 01");
    m_session.reset();
    EXPECT_EQ(send("00 B0 00 00 01"), "69 86");
    send("00 A4 00 00 02 00 01");
    EXPECT_EQ(send("00 D6 00 00 01 41"), "D6 69 82");
}

TEST_F(CardSession, FixedRepliesOverrideTheCard)
{
    m_session.setReply(QByteArray::fromHex("00B0"), QByteArray::fromHex("6F00"));
    m_session.setReply(QByteArray::fromHex("00B0000002"), QByteArray::fromHex("B0AABB9000"));
    m_session.setReply(QByteArray::fromHex("80"), QByteArray::fromHex("9000"));
    m_session.setReply(QByteArray::fromHex("00CA"), {});
    EXPECT_EQ(send("00 B0 00 00 02"), "B0 AA BB 90 00");
    EXPECT_EQ(send("00 B0 00 00 03"), "6F 00");
    EXPECT_EQ(send("80 10 00 00 00"), "90 00");
    EXPECT_EQ(send("00 CA 00 00 00"), "");
    EXPECT_EQ(send("80 D6 00 00 02 11 22"), "90 00") << "the data of a data-in command is taken";
    m_session.clearReplies();
    EXPECT_EQ(send("00 B0 00 00 02"), "69 86");
}

TEST_F(CardSession, AbandonDropsAnUnfinishedCommand)
{
    send("00 A4 00");
    EXPECT_TRUE(m_session.midCommand());
    m_session.abandon();
    EXPECT_FALSE(m_session.midCommand());
    EXPECT_EQ(send("00 A4 00 00 02 00 01"), "A4 61 0F");
}

TEST_F(CardSession, ObserverSeesEachCommandWithItsWholeReply)
{
    QList<QByteArray> seen;
    m_session.setObserver([&](const QByteArray& command, const QByteArray& reply) {
        seen.append(command.toHex(' ').toUpper() + " -> " + reply.toHex(' ').toUpper());
    });
    send("00 A4 00 00 02 00 01 00 C0 00 00 10");
    ASSERT_EQ(seen.size(), 2);
    EXPECT_EQ(seen[0], "00 A4 00 00 02 00 01 -> A4 61 0F");
    EXPECT_EQ(seen[1], "00 C0 00 00 10 -> 67 00");
}

} // namespace
