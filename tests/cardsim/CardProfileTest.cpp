#include "FeedCard.h"
#include "cardsim/CardProfileFile.h"
#include "cardsim/T0Session.h"

#include "base/KestrinError.h"

#include <gtest/gtest.h>

namespace {

TEST(CardProfileFile, SampleProfileIsTheBuiltInCardAndReadsBackAsWritten)
{
    const CardProfile sample = LoadCardProfile(QStringLiteral(KESTRIN_SAMPLE_CARD));
    EXPECT_EQ(sample, CardProfile());
    EXPECT_EQ(ReadCardProfile(CardProfileText(sample, {QStringLiteral("a comment")}).toUtf8(), QStringLiteral("again")),
              sample);
}

TEST(CardProfileFile, FoldersKeepTheirAccessWhenWrittenOut)
{
    const CardProfile folders = ReadCardProfile("[pin 1]\nvalue = 31\n[file 3F00]\nupdate = pin 1\n"
                                                "[file 3F00/7F20]\ntype = dedicated\nread = never\n",
                                                QStringLiteral("p.card"));
    EXPECT_EQ(ReadCardProfile(CardProfileText(folders).toUtf8(), QStringLiteral("again")), folders);
}

TEST(CardProfileFile, RefusesFaultsNamingFileLineAndField)
{
    const struct {
        const char* text;
        const char* message;
    } rows[] = {
        {"[card]\natr = 3F 6", "p.card, line 2, atr: '3F 6' is not hexadecimal bytes"},
        {"[file 3F00/0001]\ntype = transparent\nread = sometimes",
         "p.card, line 3, read: 'sometimes' is none of always, pin N (1 to 14), never"},
        {"[file 3F00/0001]\ntype = transparent\n\n[file 3F00/0001]\ntype = records\nrecord size = 4",
         "p.card, line 4, file path: file 3F00/0001 is described twice (first on line 1)"},
        {"[file 3F00/0001]\ntype = transparent\nupdate = pin 2", "p.card, line 3, update: PIN 2 is not described"},
        {"[file 3F00/7F20/6F3A]\ntype = records\nrecord size = 3", "p.card, line 1, file path: 7F20 is not described"},
        {"[file 3F00/0002]\ntype = records\nrecord 1 = 01 02", "p.card, line 1, record size: a file of records"},
        {"[file 3F00/0001]\ntype = transparent\ndata = 01 02 03\nsize = 2", "p.card, line 4, size: the data holds 3"},
        {"[pin 1]\nvalue = 31 32\ncolour = red", "p.card, line 3, colour: unknown field in [pin]"},
        {"[pin 15]\nvalue = 31", "p.card, line 1, pin number: '15' is not a number from 1 to 14"},
        {"[reader]", "p.card, line 1: unknown section [reader]"},
        {"atr = 3B 00", "p.card, line 1: expected [section]"},
    };
    for (const auto& row : rows) {
        try {
            ReadCardProfile(row.text, QStringLiteral("p.card"));
            ADD_FAILURE() << "accepted: " << row.text;
        } catch (const KestrinError& error) {
            EXPECT_TRUE(error.message().startsWith(QString::fromUtf8(row.message))) << error.message().toStdString();
        }
    }
}

TEST(CardProfileFile, DescribesFoldersPinsAndAnswersOfItsOwn)
{
    const CardProfile profile = ReadCardProfile(R"(; a card of its own
[card]
atr = 3B 02 14 50
[pin 2]
value = 39 39
tries = 2
[file 3F00/7F20]
type = dedicated
[file 3F00/7F20/6F07]
type = records
record size = 3
record 2 = 0A 0B
read = pin 2
[file 3F00/6F07]
type = transparent
data = 55
[answer 80 CA]
reply = 6A 88
)",
                                                QStringLiteral("own.card"));
    EXPECT_EQ(profile.atr, QByteArray::fromHex("3B 02 14 50"));
    T0Session card(profile);
    EXPECT_EQ(FeedHex(card, "00 A4 00 00 02 6F 07 00 B0 00 00 01"), "A4 61 0F B0 55 90 00") << "the MF's own 6F07";
    EXPECT_EQ(FeedHex(card, "00 A4 00 00 02 7F 20 00 A4 00 00 02 6F 07"), "A4 61 0F A4 61 0F");
    EXPECT_EQ(FeedHex(card, "00 B2 02 04 03"), "69 82") << "PIN 2 not verified";
    EXPECT_EQ(FeedHex(card, "00 20 00 01 02 39 39"), "20 6A 88") << "no PIN 1 on this card";
    EXPECT_EQ(FeedHex(card, "00 20 00 02 02 39 38"), "20 63 C1");
    EXPECT_EQ(FeedHex(card, "00 20 00 02 02 39 39"), "20 90 00");
    EXPECT_EQ(FeedHex(card, "00 B2 02 04 03 00 B2 01 04 03"), "B2 0A 0B FF 90 00 B2 FF FF FF 90 00");
    EXPECT_EQ(FeedHex(card, "80 CA 9F 7F 00"), "6A 88");
}

} // namespace
