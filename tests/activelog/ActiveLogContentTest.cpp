#include "common/RtfTextExtractor.h"

#include "main/ActiveLogContent.h"

#include <gtest/gtest.h>

namespace {

QString All(const ActiveLogContent& content) { return content.Text(0, content.Length()); }

} // namespace

// Received bytes are kept as bytes; whatever goes in among them, even inside the
// three characters of one, reads back exactly.
TEST(ActiveLogContent, KeepsEveryTextExactlyWhereverItGoes)
{
    struct Case {
        QString before;
        qsizetype at;
        QString inserted;
        QString after;
    };
    const Case cases[] = {
        {"3F 65 ", 0, "x", "x3F 65 "},        {"3F 65 ", 1, "x", "3xF 65 "},
        {"3F 65 ", 2, "x", "3Fx 65 "},        {"3F 65 ", 3, "x", "3F x65 "},
        {"3F 65 ", 6, "90 00 ", "3F 65 90 00 "}, {"00 11 22 ", 4, "A\nB", "00 1A\nB1 22 "},
        {"3f 65", 2, "0A ", "3f0A  65"},     {"ABC D", 5, "\n\n", "ABC D\n\n"},
        {"a\nb", 2, "12 ", "a\n12 b"},        {"3F ", 3, QString::fromUtf8("😀 A0 "), QString::fromUtf8("3F 😀 A0 ")},
    };
    for (const Case& test : cases) {
        ActiveLogContent content;
        const quint16 plain = content.FormatIndex({});
        content.Insert(0, test.before, plain);
        content.Insert(test.at, test.inserted, plain);
        EXPECT_EQ(All(content), test.after) << test.before.toStdString() << " + " << test.inserted.toStdString();
        EXPECT_EQ(content.Length(), test.after.size());
        EXPECT_EQ(content.LineCount(), test.after.count(u'\n') + 1);
    }
}

TEST(ActiveLogContent, PositionsCountALineEndAsOneCharacter)
{
    ActiveLogContent content;
    content.Insert(0, u"ab\n\ncd 01 ", content.FormatIndex({}));
    ASSERT_EQ(content.LineCount(), 3);
    EXPECT_EQ(content.LineStart(2), 4);
    EXPECT_EQ(content.LineLength(0), 2);
    EXPECT_EQ(content.LineLength(1), 0);
    EXPECT_EQ(content.LineLength(2), 6);
    for (auto [position, line] : {std::pair{0, 0}, {2, 0}, {3, 1}, {4, 2}, {10, 2}})
        EXPECT_EQ(content.LineOf(position), line) << position;
    EXPECT_EQ(content.Text(1, 8), "b\n\ncd 0");
    EXPECT_EQ(content.LinePart(2, 1, 5), "d 01");
}

TEST(ActiveLogContent, RunsJoinNeighboursOfOneFormatWithinALine)
{
    ActiveLogContent content;
    const quint16 plain = content.FormatIndex({}), red = content.FormatIndex({0x0000FF, true, false});
    content.Insert(0, u"3F 65 ok", plain);
    content.Insert(8, u"ERR\n90 00 ", red);
    content.Insert(3, u"!", red);
    QList<ActiveLogContent::Span> spans;
    EXPECT_EQ(content.LinePart(0, 2, 6, &spans), " !65");
    EXPECT_EQ(spans.size(), 3);
    const QList<TextRun> expected{MakeRun("3F "), MakeRun("!", 0x0000FF, true), MakeRun("65 ok"),
                                  MakeRun("ERR", 0x0000FF, true), TextRun::LineEnd(), MakeRun("90 00 ", 0x0000FF, true)};
    EXPECT_EQ(content.Runs(), expected);
    content.Clear();
    EXPECT_EQ(content.Length(), 0);
    EXPECT_TRUE(content.Runs().isEmpty());
    EXPECT_EQ(content.Format(red), (LogFormat{0x0000FF, true, false}));
}
