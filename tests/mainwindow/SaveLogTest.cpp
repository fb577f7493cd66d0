// Log > Save Active Log.
#include "MainWindowFixture.h"

#include "ui_TMainForm.h"

#include <QDir>

namespace {

class SaveLogTest : public MainWindowTest {
protected:
    void SetUp() override { form().LogAtCaret("3F 65 \r\nA0 A4 "); }
};

TEST_F(SaveLogTest, CancelLeavesNoFile)
{
    ui().Save1->trigger();
    ASSERT_EQ(dialogs().fileRequests.size(), 1u);
    EXPECT_EQ(dialogs().fileRequests[0].filter, "Log File|*.log");
    EXPECT_EQ(dialogs().fileRequests[0].fileName, "*.log");
    EXPECT_TRUE(QDir(folderPath(".")).entryList(QDir::Files).isEmpty());
    EXPECT_EQ(dialogs().shown.size(), 1u);
}

TEST_F(SaveLogTest, TheChosenFileHoldsTheLogAsRichText)
{
    writeFile("session.log", "an older log, replaced without a question");
    dialogs().replies.push_back(folderPath("session.log"));
    ui().Save1->trigger();
    const QByteArray rtf = readFile("session.log");
    EXPECT_TRUE(rtf.startsWith("{\\rtf")) << rtf.left(40).toStdString();
    EXPECT_TRUE(rtf.contains("3F 65 "));
    EXPECT_TRUE(rtf.contains("\\par"));
    EXPECT_GT(rtf.indexOf("A0 A4"), rtf.indexOf("\\par"));
    EXPECT_FALSE(rtf.contains("older"));
    EXPECT_EQ(log(), "3F 65 \r\nA0 A4 ");
    EXPECT_TRUE(dialogs().texts("error").isEmpty());
}

TEST_F(SaveLogTest, AnUnwritablePathGivesAMessageAndChangesNothing)
{
    writeFile("plain", "a file, not a folder");
    const QString path = folderPath("plain/session.log");
    dialogs().replies.push_back(path);
    ui().Save1->trigger();
    const QStringList errors = shownTexts("error");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QDir::toNativeSeparators(path))) << errors[0].toStdString();
    EXPECT_EQ(readFile("plain"), "a file, not a folder");
    EXPECT_EQ(log(), "3F 65 \r\nA0 A4 ");
}

} // namespace

// Log > Save Transcript: everything since the program started.
TEST_F(MainWindowTest, SaveTranscriptWritesTheCardsTrafficSinceTheStart)
{
    startLink();
    dialogs().replies.push_back(QStringLiteral("00 A4 00 00 02"));
    ui().CustomCommand1->trigger();
    ASSERT_TRUE(pumpUntil([this] { return form().Response() == "00 A4 00 00 02 A4 "; }));
    dialogs().replies.push_back(folderPath("run.txt"));
    ui().SaveTranscript1->trigger();
    EXPECT_EQ(dialogs().fileRequests.back().filter, "Transcript|*.txt");
    EXPECT_EQ(readFile("run.txt"), "# kestrin transcript 1\n"
                                   "< 3F 65 25 00 2C 09 69 90 00\n"
                                   "> 00 A4 00 00 02\n"
                                   "< 00 A4 00 00 02 A4\n");

    dialogs().replies.push_back(folderPath("run.txt/inside"));
    ui().SaveTranscript1->trigger();
    EXPECT_EQ(shownTexts("error").size(), 1);
}
