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
    int Protocol() const override { return protocol; }

    std::deque<QString> responses;
    QStringList commands;
    int resets = 0;
    bool failNext = false;
    int protocol = 0;
};

// Feeds the program's bytes, 1 ms apart; "~" lets the unknown instruction's wait
// go by with a call of Idle, "+" lets it go by silently. Ends with a call of Idle.
void Feed(T0Emulation& emulation, const char* sent)
{
    Clock::time_point now{};
    for (const QString& token : QString::fromLatin1(sent).split(' ')) {
        now += token == "~" || token == "+" ? T0Emulation::UnknownDataWait : 1ms;
        if (token == "~")
            emulation.Idle(now);
        else if (token != "+")
            emulation.Send(quint8(token.toUInt(nullptr, 16)), now);
    }
    emulation.Idle(now);
}

struct Exchange {
    const char* name;
    const char* sent; // as Feed takes them
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
class T0EmulationOfT1Test : public ::testing::TestWithParam<Exchange> {};

QString Stream(const char* expected, bool echo)
{
    QString text = QString::fromLatin1(expected);
    if (echo)
        return text.remove('[').remove(']').simplified();
    static const QRegularExpression echoed(QStringLiteral("\\[[^]]*\\]"));
    return text.remove(echoed).simplified();
}

void ExpectStream(const Exchange& exchange, int protocol)
{
    for (const bool echo : {true, false}) {
        RecordingCard card;
        card.responses = exchange.responses;
        card.protocol = protocol;
        T0Emulation emulation(card);
        emulation.SetEcho(echo);
        Feed(emulation, exchange.sent);
        EXPECT_EQ(card.commands, exchange.apdus) << "echo " << echo;
        EXPECT_EQ(QString::fromLatin1(emulation.TakeReceived().toHex(' ').toUpper()), Stream(exchange.stream, echo))
            << "echo " << echo;
        EXPECT_FALSE(emulation.Deadline());
    }
}

TEST_P(T0EmulationTest, GivesTheStreamOfASerialInterface)
{
    ExpectStream(GetParam(), 0);
}

// A T=1 card gives response data at once; a T=0 program fetches them with GET RESPONSE.
TEST_P(T0EmulationOfT1Test, KeepsResponseDataForGetResponse)
{
    ExpectStream(GetParam(), 1);
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
    {"UnknownWithDataSoonIsCase3", "80 3A 00 00 02 01 02", {"90 00"}, {"80 3A 00 00 02 01 02"},
     "[80 3A 00 00 02] 3A [01 02] 90 00"},
    {"UnknownWithoutDataIsCase2", "80 3C 00 00 02 ~", {"01 02 90 00"}, {"80 3C 00 00 02"},
     "[80 3C 00 00 02] 3C 01 02 90 00"},
    {"UnknownLateByteStartsTheNextCommand", "80 3C 00 00 02 + 00 B0 00 00 01", {"6D 00", "48 90 00"},
     {"80 3C 00 00 02", "00 B0 00 00 01"}, "[80 3C 00 00 02] 6D 00 [00 B0 00 00 01] B0 48 90 00"},
    {"UnknownWithP3ZeroGoesAtOnce", "80 3C 00 00 00", {"6D 00"}, {"80 3C 00 00 00"}, "[80 3C 00 00 00] 6D 00"},
    // A UICC's and a GlobalPlatform card's own commands: their data go however long the pause.
    {"UiccTerminalProfileSendsData", "80 10 00 00 03 + FF FF FF", {"90 00"}, {"80 10 00 00 03 FF FF FF"},
     "[80 10 00 00 03] 10 [FF FF FF] 90 00"},
    {"UiccStatusAsksForData", "80 F2 00 00 02", {"01 02 90 00"}, {"80 F2 00 00 02"}, "[80 F2 00 00 02] F2 01 02 90 00"},
    {"GlobalPlatformGetStatusSendsData", "80 F2 40 00 02 + 4F 00", {"61 10"}, {"80 F2 40 00 02 4F 00"},
     "[80 F2 40 00 02] F2 [4F 00] 61 10"},
    // Bytes no card takes as a header go nowhere; the next header is found after them.
    {"ClaFFIsNoCommand", "FF FF FF + A0 A4 00 00 02 + 3F 00", {"9F 0F"}, {"A0 A4 00 00 02 3F 00"},
     "[FF FF FF A0 A4 00 00 02] A4 [3F 00] 9F 0F"},
    {"InsOfAStatusWordIsNoCommand", "A0 61 00 B0 00 00 01", {"48 90 00"}, {"00 B0 00 00 01"},
     "[A0 61 00 B0 00 00 01] B0 48 90 00"},
};

INSTANTIATE_TEST_SUITE_P(Commands, T0EmulationTest, ::testing::ValuesIn(Exchanges),
                         [](const auto& info) { return std::string(info.param.name); });

// The card answers a SELECT with three bytes of data; it is sent with Le 00.
const Exchange T1Exchanges[] = {
    {"GetResponseTakesTheData", "00 A4 04 00 02 3F 00 00 C0 00 00 03", {"62 01 02 90 00"},
     {"00 A4 04 00 02 3F 00 00"}, "[00 A4 04 00 02] A4 [3F 00] 61 03 [00 C0 00 00 03] C0 62 01 02 90 00"},
    {"GetResponseInParts", "A0 A4 00 00 02 3F 00 A0 C0 00 00 02 A0 C0 00 00 01", {"62 01 02 90 00"},
     {"A0 A4 00 00 02 3F 00 00"},
     "[A0 A4 00 00 02] A4 [3F 00] 61 03 [A0 C0 00 00 02] C0 62 01 61 01 [A0 C0 00 00 01] C0 02 90 00"},
    {"GetResponseForTooManyIsToldHowMany", "00 A4 04 00 02 3F 00 00 C0 00 00 05 00 C0 00 00 03", {"62 01 02 90 00"},
     {"00 A4 04 00 02 3F 00 00"},
     "[00 A4 04 00 02] A4 [3F 00] 61 03 [00 C0 00 00 05] 6C 03 [00 C0 00 00 03] C0 62 01 02 90 00"},
    {"AnotherCommandDropsTheData", "00 A4 04 00 02 3F 00 00 B0 00 00 01 00 C0 00 00 03",
     {"62 01 02 90 00", "48 90 00", "6F 00"},
     {"00 A4 04 00 02 3F 00 00", "00 B0 00 00 01", "00 C0 00 00 03"},
     "[00 A4 04 00 02] A4 [3F 00] 61 03 [00 B0 00 00 01] B0 48 90 00 [00 C0 00 00 03] 6F 00"},
    {"StatusAloneIsPassedOn", "00 A4 00 00 02 2F E2", {"61 0F"}, {"00 A4 00 00 02 2F E2 00"},
     "[00 A4 00 00 02] A4 [2F E2] 61 0F"},
};

INSTANTIATE_TEST_SUITE_P(Commands, T0EmulationOfT1Test, ::testing::ValuesIn(T1Exchanges),
                         [](const auto& info) { return std::string(info.param.name); });

QStringList NoteTexts(const QList<ReaderNote>& notes)
{
    static const char* const kinds[] = {"to card", "from card", "not a command", "held in reset"};
    QStringList texts;
    for (const ReaderNote& note : notes)
        texts << QString::fromLatin1(kinds[int(note.kind)]) + ": " + note.bytes.toHex(' ').toUpper();
    return texts;
}

// Each guess of the wait and each run of bytes not passed on is told once.
TEST(T0EmulationNotes, TellGuessesAndBytesNotPassedOn)
{
    const std::pair<const char*, QStringList> cases[] = {
        {"80 3A 00 00 02 01 02 80 3C 00 00 02 ~", {"to card: 80 3A 00 00 02", "from card: 80 3C 00 00 02"}},
        {"FF FF FF A0 A4 00 00 02 3F 00", {"not a command: FF FF FF"}},
        {"FF ~ A0 61 FF ~ 00 B0 00 00 01", {"not a command: FF", "not a command: A0 61 FF"}},
        {"00 B0 00 00 01 A0 A4 00 00 02 3F 00", {}},
    };
    for (const auto& [sent, notes] : cases) {
        RecordingCard card;
        T0Emulation emulation(card);
        Feed(emulation, sent);
        EXPECT_EQ(NoteTexts(emulation.TakeNotes()), notes) << sent;
        EXPECT_FALSE(emulation.Deadline()) << sent;
    }
}

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

// A card held in reset answers nothing: what is sent meanwhile, and the command
// under way when RTS rose, go nowhere and are told once; the command complete
// before went first.
TEST(T0EmulationLine, ACardHeldInResetAnswersNothing)
{
    RecordingCard card;
    card.responses = {"48 90 00"};
    T0Emulation emulation(card);
    const Clock::time_point now{};
    for (const char byte : Hex("00 B0 00 00 01 00 A4"))
        emulation.Send(quint8(byte), now);
    emulation.LineControl(LineFunction::SetRts);
    for (const char byte : Hex("00 B0 00 00 01"))
        emulation.Send(quint8(byte), now);
    emulation.Idle(now);
    EXPECT_EQ(card.commands, QStringList{"00 B0 00 00 01"});
    EXPECT_EQ(emulation.TakeReceived(), Hex("00 B0 00 00 01 B0 48 90 00 00 A4 00 B0 00 00 01"));
    emulation.LineControl(LineFunction::ClrRts);
    EXPECT_EQ(emulation.TakeReceived(), Hex("3B 00"));
    EXPECT_EQ(NoteTexts(emulation.TakeNotes()), (QStringList{"held in reset: 00 A4", "held in reset: 00 B0 00 00 01"}));
}

// The command due before RTS rises fails at the card; the card is held in reset
// all the same, and lowering RTS resets it.
TEST(T0EmulationLine, RtsRaisedAfterAFailingCommandStillResets)
{
    RecordingCard card;
    T0Emulation emulation(card);
    for (const char byte : Hex("00 B0 00 00 01"))
        emulation.Send(quint8(byte), Clock::now());
    card.failNext = true;
    EXPECT_THROW(emulation.LineControl(LineFunction::SetRts), std::runtime_error);
    card.failNext = false;
    emulation.TakeReceived();
    emulation.LineControl(LineFunction::ClrRts);
    EXPECT_EQ(card.resets, 1);
    EXPECT_EQ(emulation.TakeReceived(), Hex("3B 00"));
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

    for (const char byte : Hex("80 3C 00 00 02"))
        emulation.Send(quint8(byte), start);
    EXPECT_EQ(emulation.Deadline(), start + T0Emulation::UnknownDataWait);
    emulation.Idle(start + T0Emulation::UnknownDataWait - 1ms);
    EXPECT_EQ(card.commands.size(), 1);
}

} // namespace
