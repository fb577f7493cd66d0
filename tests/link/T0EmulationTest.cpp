#include "link/T0Emulation.h"

#include <QRegularExpression>
#include <QStringList>
#include <deque>
#include <gtest/gtest.h>
#include <stdexcept>

namespace {

using Clock = T0Emulation::Clock;
using namespace std::chrono_literals;

QByteArray Hex(const QString& text)
{
    return QByteArray::fromHex(text.toLatin1());
}

// A card that records the APDUs it is sent and answers each with the next of
// its responses (90 00 once they run out).
class RecordingCard : public ApduCard {
public:
    QByteArray Transmit(const QByteArray& command) override
    {
        if (failNext)
            throw std::runtime_error("Card was removed.");
        commands << QString::fromLatin1(command.toHex(' ').toUpper());
        if (responses.empty())
            return Hex("90 00");
        const QByteArray response = Hex(responses.front());
        responses.pop_front();
        return response;
    }
    QByteArray Reset() override
    {
        ++resets;
        return Hex("3B 00");
    }

    std::deque<QString> responses;
    QStringList commands;
    int resets = 0;
    bool failNext = false;
};

struct Exchange {
    const char* name;
    // Hexadecimal bytes the program sends, 1 ms apart; "~" lets the unknown
    // instruction's wait go by with a call of Idle, "+" lets it go by silently.
    const char* sent;
    std::deque<QString> responses;
    QStringList apdus;
    // The stream given back; the echo of sent bytes is in brackets.
    const char* stream;
};

void PrintTo(const Exchange& exchange, std::ostream* out)
{
    *out << exchange.name;
}

class T0EmulationTest : public ::testing::TestWithParam<Exchange> {};

QString Stream(const char* expected, bool echo)
{
    QString text = QString::fromLatin1(expected);
    if (echo)
        return text.remove('[').remove(']').simplified();
    static const QRegularExpression echoed(QStringLiteral("\\[[^]]*\\]"));
    return text.remove(echoed).simplified();
}

TEST_P(T0EmulationTest, GivesTheStreamOfASerialInterface)
{
    for (const bool echo : {true, false}) {
        RecordingCard card;
        card.responses = GetParam().responses;
        T0Emulation emulation(card);
        emulation.SetEcho(echo);
        Clock::time_point now{};
        for (const QString& token : QString::fromLatin1(GetParam().sent).split(' ')) {
            now += token == "~" || token == "+" ? T0Emulation::UnknownDataWait : 1ms;
            if (token == "~")
                emulation.Idle(now);
            else if (token != "+")
                emulation.Send(quint8(token.toUInt(nullptr, 16)), now);
        }
        emulation.Idle(now);
        EXPECT_EQ(card.commands, GetParam().apdus) << "echo " << echo;
        EXPECT_EQ(QString::fromLatin1(emulation.TakeReceived().toHex(' ').toUpper()), Stream(GetParam().stream, echo))
            << "echo " << echo;
        EXPECT_FALSE(emulation.Deadline());
    }
}

const Exchange Exchanges[] = {
    {"Case1NoDataGoesAsFourBytes", "00 20 00 01 00", {"63 C2"}, {"00 20 00 01"}, "[00 20 00 01 00] 63 C2"},
    {"Case2DataFromCard", "00 B0 00 00 02", {"98 94 90 00"}, {"00 B0 00 00 02"}, "[00 B0 00 00 02] B0 98 94 90 00"},
    {"Case2RefusedHasNoProcedureByte", "00 B0 00 00 00", {"69 86"}, {"00 B0 00 00 00"}, "[00 B0 00 00 00] 69 86"},
    {"Case3DataToCard", "00 A4 00 00 02 3F 00", {"90 00"}, {"00 A4 00 00 02 3F 00"}, "[00 A4 00 00 02] A4 [3F 00] 90 00"},
    {"Case4IsCase3ThenGetResponse", "A0 A4 00 00 02 3F 00 A0 C0 00 00 02", {"9F 02", "01 02 90 00"},
     {"A0 A4 00 00 02 3F 00", "A0 C0 00 00 02"}, "[A0 A4 00 00 02] A4 [3F 00] 9F 02 [A0 C0 00 00 02] C0 01 02 90 00"},
    {"Status61PassedOn", "00 A4 00 00 02 2F E2", {"61 0F"}, {"00 A4 00 00 02 2F E2"}, "[00 A4 00 00 02] A4 [2F E2] 61 0F"},
    {"Status6CPassedOn", "00 B2 01 04 08", {"6C 10"}, {"00 B2 01 04 08"}, "[00 B2 01 04 08] 6C 10"},
    {"UnknownWithDataSoonIsCase3", "80 50 00 00 02 01 02", {"90 00"}, {"80 50 00 00 02 01 02"},
     "[80 50 00 00 02] 50 [01 02] 90 00"},
    {"UnknownWithoutDataIsCase2", "80 F0 00 00 02 ~", {"01 02 90 00"}, {"80 F0 00 00 02"}, "[80 F0 00 00 02] F0 01 02 90 00"},
    {"UnknownLateByteStartsTheNextCommand", "80 F0 00 00 02 + 00 B0 00 00 01", {"6D 00", "48 90 00"},
     {"80 F0 00 00 02", "00 B0 00 00 01"}, "[80 F0 00 00 02] 6D 00 [00 B0 00 00 01] B0 48 90 00"},
    {"UnknownWithP3ZeroGoesAtOnce", "80 F0 00 00 00", {"6D 00"}, {"80 F0 00 00 00"}, "[80 F0 00 00 00] 6D 00"},
};

INSTANTIATE_TEST_SUITE_P(Commands, T0EmulationTest, ::testing::ValuesIn(Exchanges),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(T0EmulationLine, OnlyReleasingRtsAfterRaisingItResetsTheCard)
{
    RecordingCard card;
    T0Emulation emulation(card);
    emulation.Send(0x00, Clock::now());
    for (const LineFunction function : {LineFunction::ClrRts, LineFunction::SetBreak, LineFunction::ClrDtr,
                                        LineFunction::SetDtr, LineFunction::ClrBreak})
        emulation.LineControl(function);
    EXPECT_EQ(card.resets, 0);
    emulation.LineControl(LineFunction::SetRts);
    emulation.LineControl(LineFunction::ClrRts);
    emulation.LineControl(LineFunction::ClrRts);
    EXPECT_EQ(card.resets, 1);
    EXPECT_EQ(emulation.TakeReceived(), Hex("00 3B 00"));
    for (const char byte : Hex("00 B0 00 00 01"))
        emulation.Send(quint8(byte), Clock::now());
    emulation.LineControl(LineFunction::SetRts);
    EXPECT_EQ(card.commands, QStringList{"00 B0 00 00 01"}) << "the reset dropped the byte sent before it; "
                                                                 "the command before a line function goes first";
}

TEST(T0EmulationFailure, DropsTheCommandAndKeepsTheEcho)
{
    RecordingCard card;
    T0Emulation emulation(card);
    const QByteArray header = Hex("00 B0 00 00 01");
    card.failNext = true;
    for (const char byte : header)
        emulation.Send(quint8(byte), Clock::now());
    EXPECT_THROW(emulation.Idle(Clock::now()), std::runtime_error);
    EXPECT_EQ(emulation.TakeReceived(), header);
    card.failNext = false;
    for (const char byte : header)
        emulation.Send(quint8(byte), Clock::now());
    emulation.Idle(Clock::now());
    EXPECT_EQ(card.commands, QStringList{"00 B0 00 00 01"});
}

// A complete command is due at once but goes at the next Idle, so the echo of
// its last byte can be taken before the card is asked; an unknown instruction's
// header is due when its wait is over.
TEST(T0EmulationDeadline, IsNowForACompleteCommandAndTheWaitForAnUnknownHeader)
{
    RecordingCard card;
    T0Emulation emulation(card);
    const Clock::time_point start = Clock::now();
    for (const char byte : Hex("00 A4 00 00 02 3F 00"))
        emulation.Send(quint8(byte), start);
    EXPECT_EQ(emulation.TakeReceived(), Hex("00 A4 00 00 02 A4 3F 00"));
    EXPECT_TRUE(card.commands.isEmpty());
    EXPECT_EQ(emulation.Deadline(), start);
    emulation.Idle(start);
    EXPECT_EQ(card.commands, QStringList{"00 A4 00 00 02 3F 00"});
    EXPECT_EQ(emulation.TakeReceived(), Hex("90 00"));
    EXPECT_FALSE(emulation.Deadline());

    for (const char byte : Hex("80 F0 00 00 02"))
        emulation.Send(quint8(byte), start);
    EXPECT_EQ(emulation.Deadline(), start + T0Emulation::UnknownDataWait);
    emulation.Idle(start + T0Emulation::UnknownDataWait - 1ms);
    EXPECT_EQ(card.commands.size(), 1);
}

} // namespace
