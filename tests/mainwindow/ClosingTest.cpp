// Closing the window in the middle of a run, a pause or a start.
#include "MainWindowFixture.h"

#include "base/MessagePump.h"
#include "main/ProgramEndSignals.h"
#include "ui_TMainForm.h"

#include <QDialog>
#include <QTimer>

namespace {

using namespace std::chrono_literals;

class ClosingTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        showForm();
        startLink();
    }
    // A script whose second line waits for ever, unless the window closes.
    void runWaitingScript(const std::function<void()>& closeAction)
    {
        ui().DataTab->setCurrentWidget(ui().ScriptTab);
        ui().Script->setPlainText(
            "DISPLAY(\"ZOOM IN\")\nSTATUS('about to wait')\nWAIT(\"100000000\")\nPRINT(\"after\")");
        // The status shows "about to wait" until the next line starts, and only
        // the WAIT pumps after that.
        auto announced = std::make_shared<bool>(false);
        onceWhen(
            [this, announced] {
                *announced = *announced || statText() == "about to wait";
                return *announced && statText() == "Transmitting ...";
            },
            closeAction);
        form().ExplorerButton4Click();
    }
    void expectClosedAndStopped()
    {
        EXPECT_FALSE(form().isVisible());
        EXPECT_TRUE(MessagePump::Closing());
        EXPECT_TRUE(simulator().waitForCloses(1, 30s)) << "the port is closed";
        EXPECT_FALSE(form().Link().Polling());
        EXPECT_FALSE(displayText().contains("after"));
        EXPECT_TRUE(dialogs().shown.empty());
    }
};

TEST_F(ClosingTest, ExitDuringAScriptWaitStopsTheRunAndClosesThePort)
{
    runWaitingScript([this] { ui().Exit1->trigger(); });
    expectClosedAndStopped();
    EXPECT_FALSE(displayWindow().isVisible());
    EXPECT_FALSE(ui().Active->isChecked());
    EXPECT_FALSE(ui().Paused->isChecked());
}

TEST_F(ClosingTest, TheCloseBoxDuringAScriptWaitDoesTheSame)
{
    runWaitingScript([this] { form().close(); });
    expectClosedAndStopped();
}

TEST_F(ClosingTest, ExitWhileAScriptIsHeldByPauseEndsIt)
{
    ui().DataTab->setCurrentWidget(ui().ScriptTab);
    ui().Script->setPlainText("PRINT(\"held\")\nPRINT(\"after\")");
    ui().Paused->setChecked(true);
    // Many passes on, the run is in its pause loop before the first line.
    onceWhen([passes = 0]() mutable { return ++passes > 100; }, [this] { ui().Exit1->trigger(); });
    form().ExplorerButton4Click();
    expectClosedAndStopped();
}

TEST_F(ClosingTest, ExitDuringACommandDelayStopsTheTransmission)
{
    ui().CmdDelay->setText("100000000");
    ui().raw->setPlainText("A0 A4 00 00 02\nR");
    atNextPass([this] { ui().Exit1->trigger(); }); // the first pass of the run is the command delay
    form().ExplorerButton4Click();
    expectClosedAndStopped();
    EXPECT_EQ(received(), "");
}

TEST_F(ClosingTest, TheCloseBoxDuringABlockStopsItBetweenBytes)
{
    ui().Delay->setText("100000000");
    ui().raw->setPlainText("A0 A4 00 00 02\nR");
    onceWhen([this] { return statText() == "Transmiting ..."; }, [this] { form().close(); });
    form().ExplorerButton4Click();
    expectClosedAndStopped();
    EXPECT_TRUE(received().isEmpty() || received() == "A0") << "at most the byte handed over before the close";
}

TEST_F(ClosingTest, ClosingWhileAScriptAsksForAParameterEndsTheRun)
{
    ui().DataTab->setCurrentWidget(ui().ScriptTab);
    ui().Script->setPlainText("GET(P1,'Record')\nSEND('00 B0 00 00 01')\nPRINT(\"after\")");
    dialogs().onShown = [this](const FakeDialogs::Shown&) { form().close(); };
    form().ExplorerButton4Click();
    EXPECT_FALSE(form().isVisible());
    EXPECT_TRUE(simulator().waitForCloses(1, 30s));
    EXPECT_EQ(received(), "");
    EXPECT_FALSE(displayText().contains("after"));
    EXPECT_EQ(shownTexts("parameter").size(), 1);
}

// A session ending while a dialog waits for the operator: the dialog and then the
// window close, as after File > Exit.
TEST_F(ClosingTest, AnEndingSignalClosesTheOpenDialogAndTheWindow)
{
    const ProgramEndSignals endSignals;
    runWaitingScript([] {
        QDialog box;
        QTimer::singleShot(0, [] { std::raise(SIGTERM); });
        box.exec();
    });
    expectClosedAndStopped();
    EXPECT_TRUE(endSignals.Received());
}

using ClosingAtStartTest = MainWindowTest;

TEST_F(ClosingAtStartTest, ClosingDuringTheSettlingPauseStartsNothing)
{
    showForm();
    useSimulator();
    atNextPass([this] { form().close(); });
    form().ExplorerButton2Click();
    EXPECT_FALSE(form().isVisible());
    EXPECT_EQ(form().PortHandle(), nullptr);
    EXPECT_EQ(form().Worker(), nullptr);
    settle();
    EXPECT_EQ(simulator().opens(), 0);
}

} // namespace
