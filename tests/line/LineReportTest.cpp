// The production line's reports without a card: the JUnit report as an
// independent reader sees it, and a card's output passed on a whole line at a time.
#include "base/SaveFile.h"
#include "common/JUnitReader.h"
#include "line/JUnitReport.h"
#include "line/PrefixedLines.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A card silent in the second of three items: the first passed, the second
// failed with what the run said and the transcript, the third and the check
// were never reached. A control character in the transcript keeps the file XML.
TEST(JUnitReport, TheItemARunEndedInFailsAndWhatFollowsIsSkipped)
{
    const LineInterface reader{"pcsc:Reader 00 00", "Reader 00 00", "Reader_00_00", true};
    const CardResult silent{"Reader 00 00", 2, "3B 00", 7, "the card was silent", {0.1, 0.5}, 2.0,
                            "kestrin-run: the card was silent\n", "# kestrin transcript 1\n| \x07 rang\n"};
    const CardResult passed{"Reader 00 00", 1, "3B 00", 0, {}, {0.1, 0.2, 0.3}, 0.4, {}, "# kestrin transcript 1\n"};
    QTemporaryDir folder;
    const QString path = folder.filePath("junit.xml");
    SaveFile(path, JUnitXml({{reader}, {"a.scr", "-e 00", "b.dat"}, "golden.txt"}, {silent, passed}));
    const auto cases = ReadJUnit(path);
    if (!cases)
        GTEST_SKIP() << JUnitParserMissing;
    QStringList outcomes;
    for (const JUnitCase& test : *cases)
        outcomes << test.suite + " / " + test.name + ": " + test.outcome;
    EXPECT_EQ(outcomes, QStringList({"Reader 00 00 / card 1 item 1: a.scr: passed",
                                     "Reader 00 00 / card 1 item 2: -e 00: passed",
                                     "Reader 00 00 / card 1 item 3: b.dat: passed",
                                     "Reader 00 00 / card 1: check against golden.txt: passed",
                                     "Reader 00 00 / card 2 item 1: a.scr: passed",
                                     "Reader 00 00 / card 2 item 2: -e 00: failure",
                                     "Reader 00 00 / card 2 item 3: b.dat: skipped",
                                     "Reader 00 00 / card 2: check against golden.txt: skipped"}));
    ASSERT_EQ(cases->size(), 8);
    const JUnitCase& failed = (*cases)[5];
    EXPECT_EQ(failed.message, "the card was silent");
    EXPECT_EQ(failed.text, silent.messages);
    EXPECT_TRUE(failed.systemOut.endsWith("\uFFFD rang\n")) << failed.systemOut.toStdString();
}

TEST(PrefixedLines, PassesOnWholeLinesEachWithItsPrefix)
{
    PrefixedLines lines("[ttyUSB0 #1] ");
    EXPECT_EQ(lines.Take("3F 65"), "");
    EXPECT_EQ(lines.Take(" 25\nA0 A4\n00"), "[ttyUSB0 #1] 3F 65 25\n[ttyUSB0 #1] A0 A4\n");
    EXPECT_EQ(lines.Finish(), "[ttyUSB0 #1] 00\n");
    EXPECT_EQ(lines.Finish(), "");
}

} // namespace
