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

// During a run nothing else reaches the card or the panes the run reads: not the data
// sender's line, not a new data file, not a new start of the link.
TEST_F(SendDataTest, NothingElseStartsDuringARun)
{
    startLink();
    const TComm* worker = form().Worker();
    const std::vector<std::pair<std::function<void()>, QString>> intrusions{
        {[this] { ui().CustomCommand1->trigger(); }, "A transmission is already running."},
        {[this] { ui().OpenXPL1->trigger(); }, "A data file cannot be opened while a transmission runs."},
        {[this] { form().ExplorerButton2Click(); }, "The link cannot be initialized while a transmission runs."},
    };
    for (const auto& [intrude, refusal] : intrusions) {
        dialogs().shown.clear();
        dialogs().replies.push_back(QStringLiteral("A0 00 B0 00 00")); // for a data sender shown in error
        simulator().clearReceived();
        ui().raw->setPlainText("A0 B0 00 00 01\nR");
        ui().Script->setPlainText("WAIT(\"200\")\nSEND('A0 B0 00 00 01')");
        for (QWidget* page : {static_cast<QWidget*>(ui().XplTab), static_cast<QWidget*>(ui().ScriptTab)}) {
            ui().DataTab->setCurrentWidget(page);
            atNextPass(intrude); // inside the command delay or the WAIT
            form().ExplorerButton4Click();
        }
        ASSERT_TRUE(simulator().waitForReceived(10, std::chrono::seconds(30))) << refusal.toStdString();
        settle();
        EXPECT_EQ(received(), "A0 B0 00 00 01 A0 B0 00 00 01") << refusal.toStdString();
        EXPECT_EQ(shownTexts("message"), QStringList(2, refusal));
        EXPECT_EQ(ui().raw->toPlainText(), "A0 B0 00 00 01\nR");
        EXPECT_EQ(form().Worker(), worker) << "the link was not started again";
    }
}

// And no run starts inside the data sender's send.
TEST_F(SendDataTest, SendDataIsRefusedDuringTheDataSendersLine)
{
    startLink();
    ui().Delay->setText("200");
    ui().raw->setPlainText("A0 B0 00 00 01\nR");
    dialogs().replies.push_back(QStringLiteral("A0 A4 00 00 02"));
    atNextPass([this] { form().ExplorerButton4Click(); }); // inside the line's first byte delay
    ui().CustomCommand1->trigger();
    ASSERT_TRUE(simulator().waitForReceived(5, std::chrono::seconds(30)));
    settle();
    EXPECT_EQ(received(), "A0 A4 00 00 02");
    EXPECT_EQ(shownTexts("message"), QStringList{"A transmission is already running."});
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
