// The Scripts page's reading: header scan, Load's lines, the file list, file errors.
#include "script/ScriptCatalogue.h"
#include "script/ScriptFile.h"

#include "base/KestrinError.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

TEST(HeaderScan, KeysMatchInExactCaseAtFixedPositionsAndTheLastWins)
{
    const ScriptHeader header = ScanScriptHeader("VER 2.1\r\nDESCRIPTION Reads the VERSION file\r\nver 9\r\n"
                                                 "REM VER 1.0\r\n VER 3\r\nAUTHOR:Ann\nVER 2.2\r\nDATE=2024-05-01");
    EXPECT_EQ(header.version, "2.2");
    EXPECT_EQ(header.description, "Reads the VERSION file");
    EXPECT_EQ(header.author, "Ann");
    EXPECT_EQ(header.date, "2024-05-01"); // the last line counts without a line end
}

TEST(HeaderScan, SeparatorIsNeverLookedAt)
{
    EXPECT_EQ(ScanScriptHeader("VER1.0").version, ".0");
    EXPECT_EQ(ScanScriptHeader("VER=1.0").version, "1.0");
    EXPECT_EQ(ScanScriptHeader("VER:1.0").version, "1.0");
    EXPECT_EQ(ScanScriptHeader("VER\r\n").version, "");
    EXPECT_EQ(ScanScriptHeader("DATE").date, "");
}

TEST(HeaderScan, MissingFieldsShowNotAvailable)
{
    for (const QString& text : {QString(), QString("SEND('00')\r\n")}) {
        const ScriptHeader header = ScanScriptHeader(text);
        EXPECT_EQ(QStringList({header.version, header.description, header.author, header.date}),
                  QStringList(4, "N/A"));
    }
}

TEST(LoadRule, KeepsEveryEndedLineAndDropsAnUnendedLastOne)
{
    EXPECT_EQ(CompleteScriptLines("REM a\r\n\r\nSEND('00')\nlast"), QStringList({"REM a", "", "SEND('00')"}));
    EXPECT_EQ(CompleteScriptLines("a\r\n\n"), QStringList({"a", ""}));
    EXPECT_EQ(CompleteScriptLines("a\rb\n"), QStringList{"a\rb"});
    EXPECT_TRUE(CompleteScriptLines("").isEmpty());
    EXPECT_TRUE(CompleteScriptLines("only").isEmpty());
    const QString longLine(400, u'X');
    EXPECT_EQ(CompleteScriptLines(longLine + "\r\n"), QStringList{longLine});
}

TEST(NestedLines, EndAtAnyLineEndAndKeepTheLastLine)
{
    EXPECT_EQ(SplitScriptLines("a\r\nb\rc\nd"), QStringList({"a", "b", "c", "d"}));
    EXPECT_EQ(SplitScriptLines("a\r\n\r\n"), QStringList({"a", ""}));
    EXPECT_EQ(SplitScriptLines("\n\r"), QStringList({"", ""}));
    EXPECT_TRUE(SplitScriptLines("").isEmpty());
}

class ScriptFolder : public ::testing::Test {
protected:
    void Write(const QString& name, const QByteArray& text)
    {
        QFile file(m_folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QTemporaryDir m_folder;
};

TEST_F(ScriptFolder, ListsScriptFilesSortedWithoutFoldersOrHiddenFiles)
{
    for (const char* name : {"b.scr", "A.SCR", "c.txt", ".hidden.scr", "d.scr.bak", "C.Scr"})
        Write(name, "");
    QDir(m_folder.path()).mkdir("e.scr");
    EXPECT_EQ(ScriptFileNames(m_folder.path()), QStringList({"A.SCR", "b.scr", "C.Scr"}));
    EXPECT_TRUE(ScriptFileNames(m_folder.filePath("none")).isEmpty());
}

TEST_F(ScriptFolder, FilesThatCannotBeReadRaiseAnErrorNamingThem)
{
    const QString missing = m_folder.filePath("gone.scr");
    for (const auto& read : {std::function([&] { ReadScriptHeader(missing); }),
                             std::function([&] { LoadScriptLines(missing); })}) {
        try {
            read();
            FAIL() << "no error";
        } catch (const FileError& error) {
            EXPECT_TRUE(error.message().contains(missing)) << error.what();
        }
    }
}

TEST_F(ScriptFolder, ReadsHeaderAndLinesFromTheFile)
{
    Write("x.scr", "VER 1.5\r\nSEND('00')\r\ntail");
    EXPECT_EQ(ReadScriptHeader(m_folder.filePath("x.scr")).version, "1.5");
    EXPECT_EQ(LoadScriptLines(m_folder.filePath("x.scr")), QStringList({"VER 1.5", "SEND('00')"}));
}

} // namespace
