#include "base/KestrinError.h"
#include "datafile/DataFileReader.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using DataFileReader::ReadLines;
using DataFileReader::SplitLines;

TEST(DataFileReader, SplitsAtLineFeedsDroppingEveryCarriageReturn)
{
    EXPECT_EQ(SplitLines("A0 A4\r\n\r\nR\r\n"), QStringList({"A0 A4", "", "R"}));
    EXPECT_EQ(SplitLines("A0\rB0\n"), QStringList({"A0B0"}));
    EXPECT_EQ(SplitLines("\n"), QStringList({""}));
}

TEST(DataFileReader, KeepsTheLastLineWholeAndAddsNoLineAfterTheLastTerminator)
{
    EXPECT_EQ(SplitLines("A0\nR"), QStringList({"A0", "R"}));
    EXPECT_EQ(SplitLines("A0\nR\n"), QStringList({"A0", "R"}));
    EXPECT_TRUE(SplitLines("").isEmpty());
}

TEST(DataFileReader, CtrlZEndsTheFile)
{
    EXPECT_EQ(SplitLines("A0\nR\x1A\nB0\nR\n"), QStringList({"A0", "R"}));
    EXPECT_EQ(SplitLines("A0\x1A"), QStringList({"A0"}));
    EXPECT_TRUE(SplitLines("\x1A" "A0\n").isEmpty());
}

TEST(DataFileReader, TakesLongLinesAsPiecesOf299Characters)
{
    const auto piecesOf = [](qsizetype length) {
        QStringList sizes;
        for (const QString& line : SplitLines(QByteArray(length, 'A') + "\nR\n"))
            sizes << QString::number(line.size());
        return sizes.join(u' ');
    };
    EXPECT_EQ(piecesOf(298), "298 1");
    EXPECT_EQ(piecesOf(299), "299 0 1");
    EXPECT_EQ(piecesOf(300), "299 1 1");
    EXPECT_EQ(piecesOf(598), "299 299 0 1");
    // Without a terminator a full last piece is not followed by an empty one.
    EXPECT_EQ(SplitLines(QByteArray(299, 'A')), QStringList({QString(299, u'A')}));
    // Dropped CRs do not count towards the 299 characters.
    EXPECT_EQ(SplitLines(QByteArray(298, 'A') + "\r\n").first().size(), 298);
}

TEST(DataFileReader, ReadsBytesAsLatin1Characters)
{
    const QStringList lines = SplitLines("\xE9\xA0\x7F\x01\n");
    ASSERT_EQ(lines.size(), 1);
    EXPECT_EQ(lines[0], QString::fromUtf16(u"\u00E9\u00A0\u007F\u0001"));
    EXPECT_EQ(SplitLines(QByteArray("A\0B", 3)).first().size(), 3);
}

TEST(DataFileReader, ReadsAFileAndNamesAFileItCannotOpen)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("card.dat");
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("A0 A4 00 00 02\r\nR\r\n");
    file.close();
    EXPECT_EQ(ReadLines(path), QStringList({"A0 A4 00 00 02", "R"}));

    const QString missing = dir.filePath("missing.dat");
    try {
        ReadLines(missing);
        FAIL() << "no error for a missing file";
    } catch (const FileError& error) {
        EXPECT_EQ(error.message(), QStringLiteral("Cannot open file \"%1\". No such file or directory").arg(missing));
    }
    EXPECT_THROW(ReadLines(dir.path()), FileError);
}
