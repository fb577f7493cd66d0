// The card interface vanishes in the middle of a run: one report, the run ends as
// runs end, and what arrived before stays in the Active Log and in the response.
#include "MainWindowFixture.h"

#include "ui_TMainForm.h"

namespace {

struct Vanishing {
    const char* name;
    const char* byteDelay;
    bool script; // a script (which prints the response at its end), or the Raw Data pane
    const char* lines;
    const char* vanishOnceReceived; // the interface goes once the response holds this
};

void PrintTo(const Vanishing& vanishing, std::ostream* out) { *out << vanishing.name; }

class VanishingInterfaceTest : public MainWindowTest, public ::testing::WithParamInterface<Vanishing> {};

TEST_P(VanishingInterfaceTest, OneReportTheRunEndsAndWhatArrivedStays)
{
    const Vanishing& run = GetParam();
    startLink();
    ui().Delay->setText(run.byteDelay);
    (run.script ? ui().Script : ui().raw)->setPlainText(run.lines);
    ui().DataTab->setCurrentWidget(run.script ? ui().ScriptTab : ui().XplTab);
    QString responseBefore;
    QString logBefore;
    onceWhen([&] { return form().Response().contains(run.vanishOnceReceived); },
             [&] {
                 responseBefore = form().Response();
                 logBefore = log();
                 simulator().hangUp();
             });
    form().ExplorerButton4Click();
    settle();

    ASSERT_FALSE(responseBefore.isEmpty()) << "the interface vanished during the run";
    ASSERT_EQ(dialogs().shown.size(), 1u);
    EXPECT_EQ(dialogs().shown[0].caption, "GetLastError");
    EXPECT_TRUE(dialogs().shown[0].text.startsWith("The card interface " + ui().COMLIST->text() + " went away ("))
        << dialogs().shown[0].text.toStdString();
    EXPECT_FALSE(form().Link().Polling());
    EXPECT_EQ(statText(), "Card interface closed.") << "the run's end does not say Ready.";
    EXPECT_TRUE(form().Response().startsWith(responseBefore)) << form().Response().toStdString();
    EXPECT_TRUE(log().startsWith(logBefore)) << log().toStdString();
    if (run.script) {
        EXPECT_EQ(displayText(), form().Response()) << "the script printed the response after the loss";
    }
}

INSTANTIATE_TEST_SUITE_P(
    DuringARun, VanishingInterfaceTest,
    ::testing::Values(
        Vanishing{"DataFileBlock", "3000", false, "00 A4 00 00 02 3F 00 00 B0 00 00 0A 00 B0 00 00 0A\nR", "00 A4 00 "},
        Vanishing{"ScriptSend", "3000", true, "SEND('00 A4 00 00 02 3F 00 00 B0 00 00 0A')\nFEED(\"PRINT ALL\")",
                  "00 A4 00 "},
        Vanishing{"ScriptWait", "0", true, "SEND('00 A4 00 00 02')\nWAIT(\"20000\")\nFEED(\"PRINT ALL\")",
                  "02 A4 "}),
    [](const ::testing::TestParamInfo<Vanishing>& info) { return std::string(info.param.name); });

} // namespace
