#include "main/ActiveLogText.h"

#include <gtest/gtest.h>

using namespace ActiveLogText;

namespace {

QStringList Pieces(const QString& line, qsizetype maxLength)
{
    QStringList pieces;
    qsizetype start = 0;
    for (qsizetype cut : BlockCuts(line, maxLength)) {
        pieces.append(line.mid(start, cut - start));
        start = cut;
    }
    pieces.append(line.mid(start));
    return pieces;
}

} // namespace

TEST(ActiveLogText, EveryKindOfLineEndBecomesOneNewline)
{
    EXPECT_EQ(NormalisedLineEnds("a\r\nb\rc\nd\r\r\ne"), "a\nb\nc\nd\n\ne");
    EXPECT_EQ(NormalisedLineEnds(QString::fromUtf16(u"x\u2029y")), "x\ny");
    EXPECT_EQ(NormalisedLineEnds(QString::fromUtf16(u"\uFDD0\uFDD1\u2028")), QString::fromUtf16(u"\uFFFD\uFFFD\u2028"));
    EXPECT_EQ(NormalisedLineEnds("3F "), "3F ");
}

TEST(ActiveLogText, LongLinesAreCutAfterABlankNearTheLimit)
{
    EXPECT_TRUE(BlockCuts(u"0123456789", 10).isEmpty());
    EXPECT_EQ(Pieces("3F 3F 3F 3F 3F 3F ", 10), QStringList({"3F 3F 3F ", "3F 3F 3F "}));
    EXPECT_EQ(Pieces("abcdefghijklmnopqrstuvwxy", 10), QStringList({"abcdefghij", "klmnopqrst", "uvwxy"}));
    // A blank early in the piece is too far back to cut at.
    EXPECT_EQ(Pieces("a bcdefghijklm", 10), QStringList({"a bcdefghi", "jklm"}));
}

TEST(ActiveLogText, ACutNeverPartsASurrogatePair)
{
    const QString line = QString(9, u'a') + QString::fromUtf8("😀") + "bc";
    EXPECT_EQ(Pieces(line, 10), QStringList({QString(9, u'a'), QString::fromUtf8("😀") + "bc"}));
}
