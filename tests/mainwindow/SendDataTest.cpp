// Send Data: the port check, the Active and page rules, and runs that overlap.
#include "MainWindowFixture.h"

#include "ui_TMainForm.h"

namespace {

using SendDataTest = MainWindowTest;

TEST_F(SendDataTest, BeforeAnyStartItIsRefusedAndTheStatusStays)
{
    ui().raw->setPlainText("A0\nR");
    form().ExplorerButton4Click();
    EXPECT_EQ(shownTexts("message"), QStringList{"COMMUNICATIONS not initialized"});
    EXPECT_EQ(statText(), "Ready.");
    EXPECT_NE(statColour(), Green) << "the handler stops before it shows Ready. on green";
    EXPECT_TRUE(log().isEmpty());
}

TEST_F(SendDataTest, RawDataWithActiveUncheckedSendsNothingAndEndsReady)
{
    startLink();
    ui().raw->setPlainText("A0 A4 00 00 02\nR");
    ui().Active->setChecked(false);
    form().ExplorerButton4Click();
    settle();
    EXPECT_EQ(received(), "");
    EXPECT_EQ(statText(), "Ready.");
    EXPECT_EQ(statColour(), Green);
    EXPECT_FALSE(log().contains("\r\n"));
    EXPECT_TRUE(dialogs().shown.empty());
}

TEST_F(SendDataTest, EmptyCurrentScriptEndsAtOnceWithReady)
{
    startLink();
    ui().DataTab->setCurrentWidget(ui().ScriptTab);
    form().SetStatus("Before", 0);
    form().ExplorerButton4Click();
    EXPECT_EQ(statText(), "Ready.");
    EXPECT_EQ(statColour(), Green);
    EXPECT_TRUE(dialogs().shown.empty());
}

TEST_F(SendDataTest, AfterAFailedOpenTheRunGoesOnWithoutSending)
{
    ui().COMLIST->setText(folderPath("no-such-device"));
    form().ExplorerButton2Click();
    ui().Delay->setText("0");
    ui().CmdDelay->setText("10");
    ui().raw->setPlainText("A0 A4\nR");
    form().ExplorerButton4Click();
    EXPECT_EQ(shownTexts("message"), QStringList{});
    EXPECT_EQ(statText(), "Ready.");
    EXPECT_EQ(statColour(), Green);
    EXPECT_EQ(log(), "\r\n");
}

TEST_F(SendDataTest, ThePageInFrontIsLookedAtAgainAfterTheDataFile)
{
    startLink();
    ui().raw->setPlainText("A0 B0 00 00 01\nR");
    ui().Script->setPlainText("PRINT(\"script too\")");
    atNextPass([this] { ui().DataTab->setCurrentWidget(ui().ScriptTab); }); // during the data file's run
    form().ExplorerButton4Click();
    ASSERT_TRUE(simulator().waitForReceived(5, std::chrono::seconds(30)));
    EXPECT_EQ(received(), "A0 B0 00 00 01");
    EXPECT_EQ(displayText(), "script too");
    EXPECT_EQ(statText(), "Ready.");
}

TEST_F(SendDataTest, OpenDataFileDuringAScriptEmptiesItAndEndsTheRun)
{
    startLink();
    ui().DataTab->setCurrentWidget(ui().ScriptTab);
    ui().Script->setPlainText("WAIT(\"200\")\nPRINT(\"after\")\nPRINT(\"more\")");
    atNextPass([this] { ui().OpenXPL1->trigger(); }); // and cancel its dialog
    form().ExplorerButton4Click();
    EXPECT_TRUE(ui().Script->toPlainText().isEmpty());
    EXPECT_EQ(displayText(), "");
    EXPECT_EQ(statText(), "Ready.");
    EXPECT_TRUE(dialogs().texts("error").isEmpty());
}

TEST_F(SendDataTest, ASecondSendDataDuringARunIsRefused)
{
    startLink();
    ui().raw->setPlainText("A0 A4 00 00 02\nR");
    atNextPass([this] { form().ExplorerButton4Click(); }); // inside the first line's command delay
    form().ExplorerButton4Click();
    ASSERT_TRUE(simulator().waitForReceived(5, std::chrono::seconds(30)));
    settle();
    EXPECT_EQ(received(), "A0 A4 00 00 02") << "no nested run";
    EXPECT_EQ(shownTexts("message").size(), 1);
    EXPECT_EQ(log().count("\r\n"), 1);
    EXPECT_EQ(statText(), "Ready.");
}

TEST_F(SendDataTest, ASecondSendDataDuringAScriptIsRefused)
{
    startLink();
    ui().DataTab->setCurrentWidget(ui().ScriptTab);
    ui().Script->setPlainText("PRINT(\"once\")\nWAIT(\"200\")");
    atNextPass([this] { form().ExplorerButton4Click(); });
    form().ExplorerButton4Click();
    EXPECT_EQ(displayText(), "once");
    EXPECT_EQ(shownTexts("message").size(), 1);
    EXPECT_EQ(statText(), "Ready.");
}

TEST_F(SendDataTest, LoadDuringAScriptRunIsRefused)
{
    writeFile("other.scr", "PRINT(\"other\")\r\n");
    ui().MainTab->setCurrentWidget(ui().TabSheet1);
    ui().MainTab->setCurrentWidget(ui().Interface);
    startLink();
    ui().DataTab->setCurrentWidget(ui().ScriptTab);
    ui().Script->setPlainText("WAIT(\"200\")\nPRINT(\"mine\")");
    atNextPass([this] { ui().LoadScript->click(); });
    form().ExplorerButton4Click();
    EXPECT_EQ(shownTexts("message").size(), 1);
    EXPECT_EQ(lines(*ui().Script), (QStringList{"WAIT(\"200\")", "PRINT(\"mine\")"}));
    EXPECT_EQ(displayText(), "mine");
    EXPECT_EQ(statText(), "Ready.");

    ui().LoadScript->click(); // once the run is over, Load works again
    EXPECT_EQ(lines(*ui().Script), QStringList{"PRINT(\"other\")"});
}

} // namespace
