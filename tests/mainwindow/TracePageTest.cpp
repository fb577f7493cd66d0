// The Trace page and Log > Export Trace over the card simulator.
#include "MainWindowFixture.h"

#include "common/Tshark.h"
#include "trace/TraceText.h"
#include "ui_TMainForm.h"
#include "windows/TracePage.h"

#include <QDir>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>

namespace {

class TracePageTest : public MainWindowTest {
protected:
    void SetUp() override
    {
        startLink();
        ui().MainTab->setCurrentWidget(ui().TraceSheet);
    }
    template <typename Control>
    Control& control(const char* name)
    {
        return *ui().TraceSheet->findChild<Control*>(QLatin1StringView(name));
    }
    QTableView& table() { return control<QTableView>("TraceTable"); }
    // The meaning column, top to bottom.
    QStringList meanings()
    {
        QStringList shown;
        for (int row = 0; row < table().model()->rowCount(); ++row)
            shown.append(table().model()->index(row, MeaningColumn).data().toString());
        return shown;
    }
    QStringList fields()
    {
        QStringList shown;
        const QTreeWidget& pane = control<QTreeWidget>("TraceFields");
        for (int row = 0; row < pane.topLevelItemCount(); ++row)
            shown.append(pane.topLevelItem(row)->text(0) + ": " + pane.topLevelItem(row)->text(1));
        return shown;
    }
    void runScript(const QString& script)
    {
        ui().DataTab->setCurrentWidget(ui().ScriptTab);
        ui().Script->setPlainText(script);
        form().ExplorerButton4Click();
    }
};

TEST_F(TracePageTest, RowsAppearWhileAScriptRunsAndTheFilterNarrowsThem)
{
    bool running = true;
    bool shownWhileRunning = false;
    onceWhen([this] { return meanings().join(u'\n').contains("SELECT 3F00 -> "); },
             [&] { shownWhileRunning = running; });
    runScript("send('00 A4 00 00 02 3F 00')\nWAIT(\"100000\")\nsend('00 B0 00 00 02')\nWAIT(\"20000\")");
    running = false;
    EXPECT_TRUE(shownWhileRunning) << "the page follows the link during the run";
    ASSERT_TRUE(pumpUntil([this] { return meanings().join(u'\n').contains("READ BINARY -> 69 86"); }))
        << meanings().join(u'\n').toStdString();

    const int all = table().model()->rowCount();
    QTest::keyClicks(&control<QLineEdit>("TraceFilter"), "read binary");
    ASSERT_TRUE(pumpUntil([&] { return table().model()->rowCount() < all; }));
    for (const QString& meaning : meanings())
        EXPECT_TRUE(meaning.contains("READ BINARY")) << meaning.toStdString();
    control<QLineEdit>("TraceFilter").clear();
    EXPECT_TRUE(pumpUntil([&] { return table().model()->rowCount() == all; }));
}

TEST_F(TracePageTest, TheAtrRowChosenByKeyboardShowsItsFields)
{
    const QRegularExpression atr("ATR: inverse convention.*");
    ASSERT_TRUE(pumpUntil([&] { return meanings().indexOf(atr) > 0; }));
    table().setFocus();
    QTest::keyClick(&table(), Qt::Key_Home);
    EXPECT_TRUE(meanings().at(0).startsWith("port opened at "));
    EXPECT_TRUE(fields().isEmpty()) << fields().join(u'\n').toStdString();
    for (int row = 0; row < meanings().indexOf(atr); ++row)
        QTest::keyClick(&table(), Qt::Key_Down);
    EXPECT_TRUE(fields().contains("TS: 3F: inverse convention")) << fields().join(u'\n').toStdString();
}

TEST_F(TracePageTest, TheFilterFindsBytesWithOrWithoutBlanksAndTheFieldsOfAHiddenRowGo)
{
    runScript("send('00 A4 00 00 02 2F E2')");
    ASSERT_TRUE(pumpUntil([this] { return meanings().join(u'\n').contains("SELECT 2FE2 -> "); }));
    table().setCurrentIndex(table().model()->index(meanings().indexOf(QRegularExpression("ATR: .*")), 0));
    ASSERT_TRUE(fields().contains("TS: 3F: inverse convention")) << fields().join(u'\n').toStdString();

    QTest::keyClicks(&control<QLineEdit>("TraceFilter"), "2F E2");
    QTest::keyClick(&control<QLineEdit>("TraceFilter"), Qt::Key_Return);
    EXPECT_EQ(meanings().filter("SELECT 2FE2 -> ").size(), 1) << meanings().join(u'\n').toStdString();
    EXPECT_TRUE(fields().isEmpty()) << fields().join(u'\n').toStdString();
}

TEST_F(TracePageTest, ExportTraceWritesAFileThatTsharkReads)
{
    ui().ExportTrace1->trigger();
    ASSERT_EQ(dialogs().fileRequests.size(), 1u);
    EXPECT_EQ(dialogs().fileRequests[0].filter, "Wireshark Trace|*.pcap");
    EXPECT_TRUE(QDir(folderPath(".")).entryList({"*.pcap"}).isEmpty()) << "cancelled";

    runScript("send('A0 A4 00 00 02 3F 00')\nWAIT(\"20000\")");
    dialogs().replies.push_back(folderPath("run.pcap"));
    ui().ExportTrace1->trigger();
    EXPECT_TRUE(shownTexts("error").isEmpty()) << shownTexts("error").join(u'\n').toStdString();
    const auto shows = TsharkShows(folderPath("run.pcap"), {"ISO 7816 ATR", "Initial character: Inverse convention",
                                                            "GSM SIM 11.11", "File ID: MF (0x3f00)", "Status Word: 9f"});
    if (!shows)
        GTEST_SKIP() << TsharkMissing;
    EXPECT_TRUE(*shows);

    dialogs().replies.push_back(folderPath("run.pcap/inside"));
    ui().ExportTrace1->trigger();
    EXPECT_EQ(shownTexts("error").size(), 1) << "a file where a folder should be";
}

} // namespace
