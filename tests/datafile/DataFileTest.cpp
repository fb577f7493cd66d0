#include "datafile/DataFile.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DataFile, KeptTextOfEveryKindOfLine)
{
    const std::pair<QString, std::optional<QString>> table[] = {
        {"; select the master file", std::nullopt},
        {":start", std::nullopt},
        {"   ", std::nullopt},
        {"", std::nullopt},
        {"\t\x01 \x1F", std::nullopt},
        {"A0 A4 00 00 02", "A0 A4 00 00 02"},
        {"A0 A4 00 00 02;select", "A0 A4 00 00 02;"},
        {"A0 A4 00 00 02 ; select", "A0 A4 00 00 02 ;"},
        {"3F 00: master file", "3F 00:"},
        {"A0 ; note: x", "A0 ; note:"},
        {"  ; indented", "  ;"},
        {"R", "R"},
        {"r01 next", "r01 next"},
        {"  :", "  :"},
        {QString::fromUtf16(u"\u00A0"), QString::fromUtf16(u"\u00A0")},
    };
    for (const auto& [line, kept] : table)
        EXPECT_EQ(KeptText(line), kept) << line.toStdString();
}

TEST(DataFile, LoadsEveryLineForTheDataPaneAndKeptTextsForTheRawPane)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("select.dat");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    // A 300-character line arrives as two pieces, each classified on its own.
    file.write("; select MF\r\nA0 A4 00 00 02 ; select\r\n\r\nR\r\n" + QByteArray(299, ' ') + ";x\r\nB0");
    file.close();

    const DataFile loaded = LoadDataFile(path);
    EXPECT_EQ(loaded.lines,
              QStringList({"; select MF", "A0 A4 00 00 02 ; select", "", "R", QString(299, u' '), ";x", "B0"}));
    EXPECT_EQ(loaded.rawLines, QStringList({"A0 A4 00 00 02 ;", "R", "B0"}));
    EXPECT_EQ(loaded.rawLineNumbers, QList<qsizetype>({2, 4, 6})) << "the pieces of a long line share its number";
}
