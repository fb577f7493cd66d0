#include "FeedCard.h"
#include "cardsim/RecordedProfile.h"
#include "cardsim/RecordedSession.h"
#include "cardsim/ReplayCard.h"
#include "cardsim/T0Session.h"

#include "base/KestrinError.h"

#include <gtest/gtest.h>

namespace {

QByteArray Hex(const char* text)
{
    return QByteArray::fromHex(text);
}

// Lines sent as the program sends them (a header alone, its data, or both at
// once), through an echoing interface or not.
const char* const Session[] = {"00 A4 00 00 02", "00 01", "00 B0 00 00 10", "00 A4 00 00 02 00 02",
                               "00 C0 00 00 0F", "00 B2 02 04 10", "00 20 00 01 08 31 32 33 34 FF FF FF FF",
                               "00 A4 00 00 02 00 01", "00 D6 00 00 02 54 52", "00 B0 00 00 04", "00 CA 00 00 02"};

// The transcript of the sample card answering the session.
QStringList RecordSampleCard(bool echo)
{
    T0Session card;
    QList<QByteArray> lines;
    for (const char* line : Session)
        lines << Hex(line);
    return RecordSession(card, CardProfile::DefaultAtr(), lines, echo);
}

TEST(ReplayCard, AnswersAsTheRecordedCardByteForByteWithAndWithoutEcho)
{
    for (const bool echo : {true, false}) {
        const Recording recording = ReadRecording(RecordSampleCard(echo), QStringLiteral("session.txt"));
        EXPECT_EQ(recording.atr, CardProfile::DefaultAtr());
        ASSERT_EQ(recording.exchanges.size(), 10u) << "the SELECT's header and data are one command";
        ReplayCard replayed(recording, {});
        T0Session original;
        for (const char* line : Session)
            EXPECT_EQ(Feed(replayed, Hex(line)).toHex(' '), Feed(original, Hex(line)).toHex(' ')) << line << echo;
    }
}

TEST(ReplayCard, MatchesInOrderOrAnywhereAndReportsCommandsNotRecorded)
{
    const Recording recording = ReadRecording(RecordSampleCard(true), QStringLiteral("session.txt"));
    QStringList reports;
    const auto report = [&reports](const QString& line) { reports << line; };
    ReplayCard inOrder(recording, {false, Hex("6A 81")}, report);
    EXPECT_EQ(Feed(inOrder, Hex("00 B0 00 00 10")), Hex("6A 81")) << "not the first command";
    EXPECT_EQ(Feed(inOrder, Hex("00 A4 00 00 02")), Hex("A4"));
    EXPECT_EQ(Feed(inOrder, Hex("00 03")), Hex("6A 81")) << "the data differ";
    EXPECT_EQ(reports, QStringList({"unknown command 00 B0 00 00 10 answered 6A 81; the nearest recorded command "
                                    "is 00 B0 00 00 10 (command 2 of 10)",
                                    "unknown command 00 A4 00 00 02 00 03 answered 6A 81; the nearest recorded "
                                    "command is 00 A4 00 00 02 00 01 (command 1 of 10)"}));

    ReplayCard anyOrder(recording, {true, Hex("6D 00")});
    EXPECT_EQ(Feed(anyOrder, Hex("00 A4 00 00 02 00 02")), Hex("A4 61 0F"));
    EXPECT_EQ(Feed(anyOrder, Hex("00 B0 00 00 10")).left(3), Hex("B0 48 45")) << "found before the cursor";
    EXPECT_EQ(Feed(anyOrder, Hex("00 B0 00 00 04")), Hex("B0 54 52 4C 4C 90 00")) << "the next one on, as updated";
    EXPECT_EQ(Feed(anyOrder, Hex("00 CA 00 00 02")), Hex("6D 00")) << "recorded as refused after the header";
    anyOrder.reset();
    EXPECT_EQ(Feed(anyOrder, Hex("00 B0 00 00 04")), Hex("B0 54 52 4C 4C 90 00"));
}

TEST(Recording, TakesWildcardCommandsAndRefusesWhatCannotBeReplayed)
{
    const Recording recording = ReadRecording(
        {"# kestrin transcript 1", "< 3B 00", "> 00 20 00 01 02 ?? ??", "< 00 20 00 01 02 20 ?? ?? 90 00"}, "w.txt");
    ReplayCard card(recording, {});
    EXPECT_EQ(Feed(card, Hex("00 20 00 01 02 12 34")), Hex("20 90 00"));
    const struct {
        QStringList lines;
        const char* message;
    } refused[] = {
        {{"# kestrin transcript 1", "> 00 B0 00 00 01", "< B0 01 90 00"}, "x.txt: the recording holds no ATR"},
        {{"# kestrin transcript 1", "< 3B 00", "> 00 84 00 00 02", "< 84 ?? ?? 90 00"},
         "x.txt: the card's bytes cannot be ?? in a recording to replay (after 00 84 00 00 02)"},
    };
    for (const auto& row : refused) {
        try {
            ReadRecording(row.lines, QStringLiteral("x.txt"));
            ADD_FAILURE() << row.message;
        } catch (const KestrinError& error) {
            EXPECT_TRUE(error.message().startsWith(QString::fromUtf8(row.message))) << error.message().toStdString();
        }
    }
}

TEST(RecordedProfile, HoldsTheFilesSelectedWithWhatWasReadAndThePinsVerified)
{
    const CardProfile profile = RecordedProfile(ReadRecording(RecordSampleCard(true), QStringLiteral("s.txt")));
    ASSERT_EQ(profile.files.size(), 3u);
    EXPECT_EQ(profile.files[1].id, 0x0001);
    EXPECT_EQ(profile.files[1].data, Hex("54 52 4C 4C 4F 20 43 41 52 44 FF FF FF FF FF FF")) << "as read last";
    EXPECT_EQ(profile.files[2].kind, FileKind::LinearFixed);
    EXPECT_EQ(profile.files[2].data, QByteArray(16, char(0xFF)) + Hex("42 4F 42").leftJustified(16, char(0xFF)));
    ASSERT_EQ(profile.pins.size(), 1u);
    EXPECT_EQ(profile.pins[0].value, Hex("31 32 33 34 FF FF FF FF"));
}

} // namespace
