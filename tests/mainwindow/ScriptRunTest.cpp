// The sample scripts run over the card simulator: Load, then Send Data.
#include "MainWindowFixture.h"

#include "ui_TMainForm.h"

#include <QRegularExpression>

namespace {

class ScriptRunTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        copySampleScripts();
        startLink();
    }
    // Load on the Scripts page with `name` chosen, then Send Data.
    void loadAndRun(const QString& name)
    {
        ui().MainTab->setCurrentWidget(ui().TabSheet1);
        const auto found = ui().ScriptList->findItems(name, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1) << name.toStdString();
        ui().ScriptList->setCurrentItem(found[0]);
        ui().LoadScript->click();
        form().ExplorerButton4Click();
    }
};

TEST_F(ScriptRunTest, IccidReadsTheCardAndPrintsItsAnswer)
{
    loadAndRun("iccid.scr");
    EXPECT_TRUE(dialogs().shown.empty()) << dialogs().shown[0].text.toStdString();
    EXPECT_EQ(received(), "00 A4 00 00 02 3F 00 00 A4 00 00 02 2F E2 00 C0 00 00 0F 00 B0 00 00 0A");
    EXPECT_TRUE(displayText().contains("EF 2FE2 selected, status 61 0F \n")) << displayText().toStdString();
    EXPECT_TRUE(displayText().contains("ICCID: 98 94 00 01 23 45 67 89 01 F2 status 90 00 \n"));
    EXPECT_TRUE(log().contains("ICCID: 98 94 00 01 23 45 67 89 01 F2 status 90 00 \r\n"));
    EXPECT_EQ(statText(), "Ready.");
    EXPECT_EQ(statColour(), Green);
    EXPECT_EQ(lines(*ui().Script).at(0), "VER 1.0");
}

TEST_F(ScriptRunTest, RecordsAsksForTheFirstRecordAndReadsFromIt)
{
    dialogs().replies.push_back(QStringLiteral("04"));
    loadAndRun("records.scr");
    ASSERT_EQ(dialogs().shown.size(), 1u);
    EXPECT_EQ(dialogs().shown[0].kind, "parameter");
    EXPECT_EQ(dialogs().shown[0].caption, "First record to read (01 to 05)");
    const QStringList records = displayText().split('\n').filter(QRegularExpression("^Record: "));
    ASSERT_EQ(records.size(), 5);
    EXPECT_EQ(records.filter(QRegularExpression("status 90 00 $")).size(), 2) << "records 4 and 5 exist";
    EXPECT_TRUE(received().contains("00 B2 04 04 10")) << received().toStdString();
    EXPECT_TRUE(received().contains("00 B2 08 04 10"));
    EXPECT_EQ(statText(), "Ready.");
}

TEST_F(ScriptRunTest, AConversionErrorEndsTheRunAndTheStatusStays)
{
    ui().DataTab->setCurrentWidget(ui().ScriptTab);
    ui().Script->setPlainText("PRINT(\"before\")\nREPEAT(two)\nPRINT(\"after\")\nENDREPEAT");
    form().ExplorerButton4Click();
    EXPECT_EQ(shownTexts("error"), QStringList{"'two' is not a valid integer value."});
    EXPECT_EQ(statText(), "Transmitting ...");
    EXPECT_EQ(displayText(), "before");
}

TEST_F(ScriptRunTest, AScriptRunsTheTrimmedLinesAndLeavesThemTrimmed)
{
    ui().DataTab->setCurrentWidget(ui().ScriptTab);
    ui().Script->setPlainText("   send('00 b0 00 00 01')   \nWAIT(\"20000\")\nFEED(\"PRINT ALL\")");
    form().ExplorerButton4Click();
    EXPECT_EQ(received(), "00 B0 00 00 01");
    EXPECT_EQ(lines(*ui().Script).at(0), "send('00 b0 00 00 01')");
    EXPECT_EQ(displayText(), "00 B0 00 00 01 69 86 ") << "the echo, then: no EF selected";
    EXPECT_EQ(statText(), "Ready.");
}

} // namespace
