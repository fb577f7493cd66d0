#include "common/RtfTextExtractor.h"

#include "base/Colours.h"
#include "base/KestrinError.h"
#include "base/RtfWriter.h"

#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <csignal>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray Body(const QList<TextRun>& runs)
{
    const QByteArray rtf = WriteRtf(runs);
    const QByteArray start = "\\pard\\plain\\f0\\fs20 ";
    return rtf.mid(rtf.indexOf(start) + start.size());
}

void WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(content);
}

// The message of the FileError that SaveRtf raised, or "" when it raised none.
QString SaveError(const QString& path, const QList<TextRun>& runs)
{
    try {
        SaveRtf(path, runs);
    } catch (const FileError& error) {
        return error.message();
    }
    return {};
}

QByteArray ReadAll(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(unreadable)");
}

} // namespace

TEST(RtfWriter, WritesAnRtfOneDocumentWithOneSansFont)
{
    const QByteArray rtf = WriteRtf({MakeRun("3F 00 ")});
    EXPECT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}"));
    EXPECT_TRUE(rtf.contains("{\\colortbl ;}"));
    EXPECT_EQ(Body({MakeRun("3F 00 ")}), "3F 00 }\r\n");
    EXPECT_EQ(rtf.count('{'), rtf.count('}'));
}

TEST(RtfWriter, EscapesSpecialAndNonAsciiCharacters)
{
    EXPECT_EQ(Body({MakeRun("a\\b{c}\td")}), "a\\\\b\\{c\\}\\tab d}\r\n");
    EXPECT_EQ(Body({MakeRun(QString::fromUtf8("é\u00A0ÿ"))}), "\\'e9\\'a0\\'ff}\r\n");
    // Beyond Latin-1 and the C1 controls: UTF-16 units as signed 16-bit \u values.
    EXPECT_EQ(Body({MakeRun(QString::fromUtf8("€\u0085\uFFFD\x01"))}), "\\u8364?\\u133?\\u-3?\\u1?}\r\n");
    EXPECT_EQ(Body({MakeRun(QString::fromUtf8("😀"))}), "\\u-10179?\\u-8704?}\r\n");
}

// LibreOffice reads a run of blanks as other characters unless each blank after the
// first stands in a group of its own.
TEST(RtfWriter, WritesEveryBlankAfterABlankAsAGroup)
{
    EXPECT_EQ(Body({MakeRun("a  b   c")}), "a { }b { }{ }c}\r\n");
    EXPECT_EQ(Body({MakeRun("x "), MakeRun(" y", Colours::Red), TextRun::LineEnd(), MakeRun(" z")}),
              "x \\cf1 { }y\\par\r\n\\cf0  z}\r\n");
}

TEST(RtfWriter, EveryLineEndIsOneParagraphEnd)
{
    EXPECT_EQ(Body({TextRun::LineEnd(), MakeRun("90 00 "), TextRun::LineEnd(), TextRun::LineEnd()}),
              "\\par\r\n90 00 \\par\r\n\\par\r\n}\r\n");
}

TEST(RtfWriter, ListsTheColoursUsedAndSwitchesFormatPerRun)
{
    const QList<TextRun> runs{MakeRun("r", Colours::Red, true), MakeRun("b", Colours::Blue, true, true),
                              MakeRun("R", Colours::Red), MakeRun("plain")};
    const QByteArray rtf = WriteRtf(runs);
    EXPECT_TRUE(rtf.contains("{\\colortbl ;\\red255\\green0\\blue0;\\red0\\green0\\blue255;}"));
    EXPECT_EQ(Body(runs), "\\b\\cf1 r\\i\\cf2 b\\b0\\i0\\cf1 R\\cf0 plain}\r\n");
}

TEST(RtfWriter, RunsSurviveTheRoundTripThroughAReader)
{
    QList<TextRun> runs{MakeRun("3B 00 90 00 "), TextRun::LineEnd(), MakeRun("Baud Rate Set To: 19200"), TextRun::LineEnd(),
                        MakeRun(" lead {x}\\y\tz  ", Colours::Lime, true), MakeRun(QString::fromUtf8("Grüße € 😀"), Colours::Navy, false, true),
                        TextRun::LineEnd(), TextRun::LineEnd(), MakeRun("\\par   not a word")};
    EXPECT_EQ(ExtractRuns(WriteRtf(runs)), runs);
}

TEST(SaveRtf, WritesTheWholeFileReplacingAnOldOne)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("log.log");
    WriteFile(path, QByteArray(100000, 'x'));

    const QList<TextRun> runs{MakeRun("3F "), TextRun::LineEnd()};
    SaveRtf(path, runs);
    EXPECT_EQ(ReadAll(path), WriteRtf(runs));
}

TEST(SaveRtf, AFileThatCannotBeCreatedRaisesFileErrorNamingIt)
{
    QTemporaryDir dir;
    const QString notAFolder = dir.filePath("plain");
    WriteFile(notAFolder, "");

    const QString path = notAFolder + "/log.log";
    EXPECT_EQ(SaveError(path, {MakeRun("3F ")}), QStringLiteral("Cannot create file \"%1\". Not a directory").arg(path));
}

// A save that fails keeps the old file: a write that fails half-way (here: past the
// process's file size limit), and a folder where no new file can be made although
// the old one could be written in place.
TEST(SaveRtf, AFailedSaveLeavesTheOldFileAsItWas)
{
    for (const bool folderWritable : {true, false}) {
        if (!folderWritable && geteuid() == 0)
            continue; // folder permissions do not bind root
        QTemporaryDir dir;
        const QString path = dir.filePath("log.log");
        WriteFile(path, "old content");
        if (!folderWritable)
            QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner);

        rlimit saved{};
        ASSERT_EQ(getrlimit(RLIMIT_FSIZE, &saved), 0);
        const auto savedHandler = std::signal(SIGXFSZ, SIG_IGN);
        rlimit small = saved;
        small.rlim_cur = 1000;
        ASSERT_EQ(setrlimit(RLIMIT_FSIZE, &small), 0);
        const QString message = SaveError(path, {MakeRun(QString(100000, u'A'))});
        setrlimit(RLIMIT_FSIZE, &saved);
        std::signal(SIGXFSZ, savedHandler);

        EXPECT_TRUE(message.startsWith(folderWritable ? "Cannot write file" : "Cannot create file")) << message.toStdString();
        EXPECT_EQ(ReadAll(path), "old content") << "folder writable: " << folderWritable;
        QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
}
