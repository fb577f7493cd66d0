// PRINT, PRINTLN, FEED and DISPLAY.
#include "FakeScriptHost.h"

#include "base/KestrinError.h"

#include <gtest/gtest.h>

namespace {

class OutputCommands : public ScriptTest {
protected:
    void SetUp() override { host.response = "3B 00 90 00 41 "; }
    QStringList Printed(const QStringList& lines)
    {
        host.calls.clear();
        RunScript(lines);
        return host.Texts("text");
    }
};

TEST_F(OutputCommands, PrintWritesTheDoubleQuotedText)
{
    EXPECT_EQ(Printed({"PRINT(\"Hello\")", "PRINTLN(\"Hello\")", "print(\"no end", "PRINT('Hi')"}),
              QStringList({"Hello", "Hello\r\n", "", ""}));
}

TEST_F(OutputCommands, FeedPrintsPiecesOfTheResponse)
{
    EXPECT_EQ(Printed({"FEED(\"PRINT ALL\")", "FEED(\"print all\")"}),
              QStringList(2, "3B 00 90 00 41 "));
    EXPECT_EQ(Printed({"FEED(\"PRINT SET 2\")", "FEED(\"PRINT +2\")"}), QStringList{"00 90 "});
    EXPECT_EQ(state.printPos, 4);
    EXPECT_EQ(Printed({"FEED(\"PRINT +5\")"}), QStringList{"00 41 "});
    EXPECT_EQ(state.printPos, 9);
    EXPECT_EQ(Printed({"FEED(\"PRINT +1\")"}), QStringList{""});
    EXPECT_EQ(Printed({"FEED(\"PRINT 1,1\")", "FEED(\"PRINT 0,3\")", "FEED(\"PRINT 4, 9\")", "FEED(\"PRINT 9,1\")"}),
              QStringList({"3B ", "00 41 ", ""}));
    for (const qint32 start : {0, 1}) {
        state.printPos = start;
        EXPECT_EQ(Printed({"FEED(\"PRINT +1\")"}), QStringList{"3B "});
    }
}

TEST_F(OutputCommands, FeedClearEmptiesTheResponseAndKeepsThePosition)
{
    state.printPos = 7;
    RunScript({"FEED(\"CLEAR\")", "FEED(\"clear all\")"});
    EXPECT_EQ(host.Actions(), QStringList(2, "clear response"));
    EXPECT_EQ(state.printPos, 7);
}

TEST_F(OutputCommands, FeedNumbersThatDoNotConvertEndTheRun)
{
    for (const char* line : {"FEED(\"PRINT 3\")", "FEED(\"PRINT+4\")", "FEED(\"PRINT SET x\")", "FEED(\"PRINT +\")"})
        EXPECT_THROW(RunScript({line}), ConversionError) << line;
    EXPECT_TRUE(host.Texts("text").isEmpty());
}

TEST_F(OutputCommands, PositionArithmeticWrapsInsteadOfOverflowing)
{
    state.printPos = 0x7FFFFFFF;
    EXPECT_EQ(Printed({"FEED(\"PRINT +2\")", "FEED(\"PRINT 2147483647,2147483647\")"}), QStringList(2, ""));
    EXPECT_EQ(state.printPos, -0x7FFFFFFF);
}

TEST_F(OutputCommands, DisplayActsOnExactCaseArgumentsOnly)
{
    RunScript({"DISPLAY(\"ON\")", "DISPLAY(\"OFF\")", "DISPLAY(\"CLEAR\")", "DISPLAY(\"ZOOM IN\")", "DISPLAY(\"ZOOM OUT\")",
         "DISPLAY(\"BOLD ON\")", "DISPLAY(\"ITALIC ON\")", "DISPLAY(\"BOLD OFF\")", "DISPLAY(\"ITALIC OFF\")",
         "DISPLAY(\"zoom in\")", "DISPLAY(\"ZOOM IN \")", "DISPLAY(\"BKCOLOR  RED\")", "DISPLAY(\"FRCOLOR red\")"});
    EXPECT_EQ(host.Actions(), QStringList({"echo on", "echo off", "clear logs", "display show", "display hide",
                                           "bold on", "italic on", "bold off", "italic off"}));
}

TEST_F(OutputCommands, DisplayColourFormsMapTheSevenColourWords)
{
    QStringList lines;
    for (const char* word : {"BLACK", "RED", "WHITE", "BLUE", "GREEN", "YELLOW", "LIME"})
        lines << QString("DISPLAY(\"BKCOLOR %1\")").arg(word) << QString("DISPLAY(\"FRCOLOR %1\")").arg(word);
    RunScript(lines);
    const QStringList colours{"0", "ff", "ffffff", "ff0000", "8000", "ffff", "ff00"};
    EXPECT_EQ(host.Texts("background"), colours);
    EXPECT_EQ(host.Texts("colour"), colours);
}

} // namespace
