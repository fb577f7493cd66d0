// Data files end to end: Open Data File, the two panes, and their transmission
// over the card simulator; the data sender of the File menu.
#include "MainWindowFixture.h"

#include "ui_TMainForm.h"

#include <QDir>

namespace {

class DataFileTest : public MainWindowTest {
protected:
    // Open Data File, the dialog answered with `name` in the program folder.
    void openDataFile(const QString& name)
    {
        dialogs().replies.push_back(folderPath(name));
        ui().OpenXPL1->trigger();
    }
};

TEST_F(DataFileTest, OpenInitialisesEverythingBeforeTheDialogThenFillsBothPanes)
{
    writeSettings({"COM=COM7", "BDELAY=3", "CDELAY=4"});
    writeFile("cards.dat", "; select the master file\r\n:start\r\n   \r\n\r\nA0 A4 00 00 02;select\r\n"
                           "A0 A4 00 00 02 ; select\r\n3F 00: master file\r\nA0 ; note: x\r\n  ; indented\r\n"
                           "R\r\nr01 next");
    form().LogAtCaret("old log");
    ui().Script->setPlainText("old script");
    ui().COMLIST->setText("unsaved");
    QStringList whileAsked;
    dialogs().onShown = [&](const FakeDialogs::Shown&) {
        whileAsked = {log(), ui().dat->toPlainText(), ui().raw->toPlainText(), ui().Script->toPlainText(),
                      ui().COMLIST->text(), ui().Delay->text(), ui().CmdDelay->text()};
    };
    openDataFile("cards.dat");
    EXPECT_EQ(whileAsked, (QStringList{"", "", "", "", "COM7", "3", "4"}));
    EXPECT_EQ(lines(*ui().dat), (QStringList{"; select the master file", ":start", "   ", "", "A0 A4 00 00 02;select",
                                             "A0 A4 00 00 02 ; select", "3F 00: master file", "A0 ; note: x",
                                             "  ; indented", "R", "r01 next"}));
    EXPECT_EQ(lines(*ui().raw), (QStringList{"A0 A4 00 00 02;", "A0 A4 00 00 02 ;", "3F 00:", "A0 ; note:", "  ;",
                                             "R", "r01 next"}));
    EXPECT_EQ(ui().DataTab->currentWidget(), ui().XplTab);
    EXPECT_EQ(dialogs().fileRequests.at(0).filter, "Data Files|*.*");
}

TEST_F(DataFileTest, TheExampleFilePutsExactlyItsBlocksOnTheWire)
{
    startLink();
    writeFile("example.dat", "A0 A4 00 00 02\nR\n3F 00\nR\n; never sent:\n00 B0 00 00 01\n");
    openDataFile("example.dat");
    form().ExplorerButton4Click();
    ASSERT_TRUE(simulator().waitForReceived(7, std::chrono::seconds(30)));
    settle();
    EXPECT_EQ(received(), "A0 A4 00 00 02 3F 00");
    EXPECT_EQ(log().count("\r\n"), 2);
    EXPECT_EQ(statText(), "Ready.");
    EXPECT_EQ(statColour(), Green);
    EXPECT_TRUE(dialogs().texts("error").isEmpty());
    // The card's answer to the second block (3F 00 found) reaches the response and the log.
    ASSERT_TRUE(pumpUntil([this] { return form().Response().endsWith("9F 0F "); }));
    EXPECT_TRUE(log().endsWith("9F 0F ")) << log().toStdString();
}

TEST_F(DataFileTest, AnNaByteDelayEndsTheRunWithTheConversionError)
{
    writeSettings({"COM=" + simulator().devicePath(), "CDELAY=10"});
    form().FormShow();
    form().ExplorerButton2Click();
    ASSERT_TRUE(form().Link().Polling());
    ui().raw->setPlainText("A0 A4\nR\n3F 00\nR");
    form().ExplorerButton4Click();
    EXPECT_EQ(shownTexts("error"), QStringList{"'NA' is not a valid integer value."});
    EXPECT_EQ(statText(), "Transmiting ...");
    EXPECT_FALSE(log().contains("\r\n"));
    settle();
    EXPECT_FALSE(received().contains("3F")) << "the run ended in the first block";
}

TEST_F(DataFileTest, AFileThatCannotBeOpenedIsNamed)
{
    openDataFile("missing.dat");
    const QStringList errors = shownTexts("error");
    ASSERT_EQ(errors.size(), 1);
    EXPECT_TRUE(errors[0].contains(QDir::toNativeSeparators(folderPath("missing.dat")))) << errors[0].toStdString();
    EXPECT_TRUE(ui().dat->toPlainText().isEmpty());
    EXPECT_TRUE(ui().raw->toPlainText().isEmpty());
}

TEST_F(DataFileTest, CancelLeavesThePanesEmpty)
{
    form().LogAtCaret("old log");
    ui().raw->setPlainText("A0\nR");
    ASSERT_EQ(ui().dat->toPlainText(), "dat");
    ui().OpenXPL1->trigger();
    EXPECT_TRUE(ui().dat->toPlainText().isEmpty());
    EXPECT_TRUE(ui().raw->toPlainText().isEmpty());
    EXPECT_TRUE(log().isEmpty());
    EXPECT_EQ(shownTexts("open").size(), 1);
    EXPECT_EQ(dialogs().shown.size(), 1u);
}

TEST_F(DataFileTest, TheDataSenderSendsTheLineAndEndsItInTheLog)
{
    startLink();
    const qsizetype lineEnds = log().count("\r\n");
    dialogs().replies.push_back(QStringLiteral("a0 b0 00 00 01"));
    ui().CustomCommand1->trigger();
    ASSERT_TRUE(simulator().waitForReceived(5, std::chrono::seconds(30)));
    EXPECT_EQ(received(), "A0 B0 00 00 01");
    EXPECT_EQ(log().count("\r\n"), lineEnds + 1);
    ASSERT_TRUE(pumpUntil([this] { return form().Response().startsWith("A0 B0 00 00 01 "); }));
}

TEST_F(DataFileTest, ACancelledDataSenderSendsNothing)
{
    startLink();
    const QString before = log();
    ui().CustomCommand1->trigger();
    settle();
    EXPECT_EQ(received(), "");
    EXPECT_EQ(log(), before);
    EXPECT_EQ(shownTexts("dataline").size(), 1);
}

} // namespace
