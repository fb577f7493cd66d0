#include "cardsim/T0Reader.h"
#include "cardsim/T0Session.h"
#include "cardsim/VpcdProtocol.h"
#include "cardsim/VpcdSocket.h"

#include <QStringList>
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace {

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(text);
}

QString HexText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

struct ApduCase {
    const char* name;
    const char* apdu;
    const char* response;
};

// One card through every row in order, as a reader that takes whole APDUs drives it.
TEST(ExchangeApdu, DrivesTheCardAsAT0Reader)
{
    const ApduCase rows[] = {
        {"case 1: four bytes, P3 00", "00 20 00 01", "67 00"},
        {"case 3", "A0 A4 00 00 02 3F 00", "9F 0F"},
        {"case 2", "A0 C0 00 00 02", "00 00 90 00"},
        {"case 4 goes as case 3", "00 A4 00 00 02 00 01 FF", "61 0F"},
        {"case 2, P3 00 for 256 bytes", "00 B0 00 00 00", "6B 00"},
        {"case 2 answered with 6C", "00 B2 01 04 00", "69 81"},
        {"not a short APDU", "00 B0 00 00 00 01 00", "67 00"},
        {"too short", "00 B0 00", "67 00"},
        {"Lc beyond the data", "00 A4 00 00 03 3F 00", "67 00"},
        {"case 2 for data the card takes: silent", "00 A4 00 00 02", ""},
        {"case 3 for data the card sends: broken", "00 B0 00 00 01 00", ""},
        {"the card is in step again", "00 B0 00 00 02", "48 45 90 00"},
    };
    T0Session card;
    for (const ApduCase& row : rows)
        EXPECT_EQ(HexText(ExchangeApdu(card, Hex(row.apdu))).toStdString(), row.response) << row.name;
}

TEST(ExchangeApdu, FollowsNullAndOneByteProcedureBytes)
{
    T0Session card;
    card.setReply(Hex("00 B0 00 00 02"), Hex("60 4F 98 60 4F 94 90 00"));
    card.setReply(Hex("00 B0 00 00 03"), Hex("4F 98"));
    card.setReply(Hex("00 B0 00 00 04"), Hex("12 34"));
    EXPECT_EQ(HexText(ExchangeApdu(card, Hex("00 B0 00 00 02"))), "98 94 90 00");
    EXPECT_EQ(HexText(ExchangeApdu(card, Hex("00 B0 00 00 03"))), "") << "no status word";
    EXPECT_EQ(HexText(ExchangeApdu(card, Hex("00 B0 00 00 04"))), "") << "not a procedure byte";
}

TEST(VpcdProtocol, TakesWholeMessagesAndFramesAnswers)
{
    QByteArray buffer = Hex("00 01 04 00 07 00 A4 00");
    EXPECT_EQ(Vpcd::TakeMessage(buffer), Hex("04"));
    EXPECT_FALSE(Vpcd::TakeMessage(buffer)) << "the APDU is not all there yet";
    buffer += Hex("00 02 3F 00 00");
    EXPECT_EQ(Vpcd::TakeMessage(buffer), Hex("00 A4 00 00 02 3F 00"));
    EXPECT_EQ(buffer, Hex("00"));
    EXPECT_EQ(Vpcd::Frame(Hex("90 00")), Hex("00 02 90 00"));
    EXPECT_EQ(Vpcd::Frame(QByteArray(300, 'x')).left(2), Hex("01 2C"));
}

TEST(VpcdProtocol, AnswersControlsAndCommands)
{
    SimulatedCard card;
    QStringList log;
    card.logger = [&log](const QString& line) { log << line; };
    card.atr = Hex("3B 00");
    EXPECT_FALSE(Vpcd::Answer(card, Hex("01")));
    EXPECT_EQ(Vpcd::Answer(card, Hex("04")), Hex("3B 00"));
    EXPECT_EQ(Vpcd::Answer(card, Hex("00 A4 00 00 02 3F 00")), Hex("61 0F"));
    EXPECT_FALSE(Vpcd::Answer(card, Hex("02")));
    EXPECT_EQ(Vpcd::Answer(card, Hex("00 C0 00 00 07")), Hex("67 00")) << "the reset dropped the waiting response";
    EXPECT_FALSE(Vpcd::Answer(card, Hex("00")));
    EXPECT_FALSE(Vpcd::Answer(card, Hex("07")));
    EXPECT_EQ(log, QStringList({"powered on, ATR 3B 00", "00 A4 00 00 02 3F 00 -> A4 61 0F", "reset, ATR 3B 00",
                                "00 C0 00 00 07 -> 67 00", "powered off", "unknown control 07 ignored"}));
}

int TcpOption(int fd, int option)
{
    int value = -1;
    socklen_t size = sizeof value;
    getsockopt(fd, IPPROTO_TCP, option, &value, &size);
    return value;
}

// vpcd sends a message's length and bytes in two writes, the second held by
// Nagle's algorithm until the first is acknowledged: a connection that delays
// its acknowledgements answers about 20 commands a second.
TEST(VpcdSocket, AcknowledgesAtOnceAfterEveryAnswer)
{
    const UniqueFd listener(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    socklen_t size = sizeof address;
    ASSERT_EQ(bind(listener.get(), reinterpret_cast<sockaddr*>(&address), size), 0);
    ASSERT_EQ(listen(listener.get(), 1), 0);
    getsockname(listener.get(), reinterpret_cast<sockaddr*>(&address), &size);
    const UniqueFd card = VpcdSocket::Connect(ntohs(address.sin_port));
    const UniqueFd reader(accept(listener.get(), nullptr, nullptr));
    ASSERT_GE(reader.get(), 0);
    EXPECT_EQ(TcpOption(card.get(), TCP_NODELAY), 1);
    for (int round = 0; round < 3; ++round) {
        char bytes[8];
        ASSERT_EQ(send(reader.get(), "\0\1\4", 3, 0), 3);
        ASSERT_EQ(recv(card.get(), bytes, sizeof bytes, 0), 3);
        ASSERT_TRUE(VpcdSocket::Send(card.get(), Hex("00 02 90 00")));
        ASSERT_EQ(recv(reader.get(), bytes, 4, MSG_WAITALL), 4);
        EXPECT_EQ(TcpOption(card.get(), TCP_QUICKACK), 1) << "round " << round;
    }
}

} // namespace
