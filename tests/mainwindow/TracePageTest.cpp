// The Trace page and Log > Export Trace over the card simulator.
#include "MainWindowFixture.h"

#include "common/Tshark.h"
#include "trace/TraceModel.h"
#include "trace/TraceText.h"
#include "ui_TMainForm.h"
#include "windows/TimingChart.h"
#include "windows/TracePage.h"

#include <QAccessible>
#include <QDir>
#include <QImage>
#include <QLineEdit>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>
#include <QTreeWidget>
#include <QXmlStreamReader>

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
    TimingChart& chart() { return ui().TraceSheet->chart(); }
    // Three exchanges on the chart, the last with an error.
    QList<TimingBar> threeExchanges()
    {
        showForm();
        settle(); // the first showing empties the panes, the script's among them
        runScript("send('00 A4 00 00 02 3F 00')\nWAIT(\"20000\")\nsend('00 A4 00 00 02 2F E2')\nWAIT(\"20000\")\n"
                  "send('00 A4 00 00 02 7F 99')\nWAIT(\"20000\")");
        [&] { ASSERT_TRUE(pumpUntil([this] { return meanings().join(u'\n').contains("-> 6A 82"); })); }();
        const TraceLook look = ui().TraceSheet->model()->Look();
        return look.timing().bars;
    }
    // The middle of a bar, where the chart shows it now.
    QPoint pointOf(const TimingBar& bar)
    {
        const double x = XOf((bar.startNs + bar.endNs) / 2, chart().Span(), chart().width());
        return QPoint(int(x), int(ChartGeometryOf(chart().size(), chart().fontMetrics().height()).bars.center().y()));
    }
    int currentRow() { return table().currentIndex().row(); }
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

TEST_F(TracePageTest, AClickOnABarSelectsItsRowAndASelectedRowBringsItsBarIntoViewMarked)
{
    const QList<TimingBar> bars = threeExchanges();
    ASSERT_EQ(bars.size(), 3);
    EXPECT_EQ(bars[2].status, StatusClass::Error);
    QTest::mouseClick(&chart(), Qt::LeftButton, {}, pointOf(bars[1]));
    EXPECT_EQ(currentRow(), bars[1].row);
    EXPECT_TRUE(fields().contains("Data: 2 bytes to the card: 2F E2")) << fields().join(u'\n').toStdString();

    chart().ZoomBy(1e6, 0); // the start alone: no exchange in view
    table().setCurrentIndex(table().model()->index(bars[2].row, 0));
    const TimeSpan span = chart().Span();
    EXPECT_TRUE(span.startNs <= bars[2].startNs && bars[2].endNs <= span.EndNs());
    EXPECT_EQ(chart().SelectedRow(), bars[2].row);
    const QImage shown = chart().grab().toImage();
    const QColor highlight = chart().palette().color(QPalette::Highlight);
    const int top = int(ChartGeometryOf(chart().size(), chart().fontMetrics().height()).nulls.top());
    EXPECT_EQ(shown.pixelColor(pointOf(bars[2]).x(), top), highlight) << "the mark's top edge, above the bar";
}

TEST_F(TracePageTest, TheChartIsNamedAndWorkedByKeys)
{
    const QList<TimingBar> bars = threeExchanges();
    QAccessibleInterface* accessible = QAccessible::queryAccessibleInterface(&chart());
    ASSERT_NE(accessible, nullptr);
    EXPECT_EQ(accessible->role(), QAccessible::Chart);
    EXPECT_EQ(accessible->text(QAccessible::Name), "Timing chart");
    EXPECT_TRUE(accessible->text(QAccessible::Description).startsWith("3 exchanges, 3 in view"))
        << accessible->text(QAccessible::Description).toStdString();

    chart().setFocus();
    const TimeSpan all = chart().Span();
    QTest::keyClick(&chart(), Qt::Key_Plus);
    EXPECT_LT(chart().Span().lengthNs, all.lengthNs);
    const TimeSpan zoomed = chart().Span();
    QTest::keyClick(&chart(), Qt::Key_Left);
    EXPECT_LT(chart().Span().startNs, zoomed.startNs);
    QTest::keyClick(&chart(), Qt::Key_0);
    EXPECT_EQ(chart().Span(), all);
    QTest::keyClick(&chart(), Qt::Key_Down);
    EXPECT_EQ(currentRow(), bars[0].row);
    QTest::keyClick(&chart(), Qt::Key_Down);
    EXPECT_EQ(currentRow(), bars[1].row);
    EXPECT_TRUE(accessible->text(QAccessible::Description).contains("selected: SELECT 2FE2"))
        << accessible->text(QAccessible::Description).toStdString();
}

// The trace spans every start of the link: a restart is a reset mark, and the
// decoding goes on with the traffic after it.
TEST_F(TracePageTest, TheDecodingGoesOnAcrossARestartOfTheLink)
{
    threeExchanges();
    form().ExplorerButton2Click(); // Initialize
    ASSERT_TRUE(pumpUntil([this] { return meanings().filter("ATR: ").size() == 2; }));
    runScript("send('00 A4 00 00 02 3F 00')");
    ASSERT_TRUE(pumpUntil([this] { return meanings().last().contains("SELECT 3F00 -> "); }))
        << meanings().join(u'\n').toStdString();
    const TraceLook look = ui().TraceSheet->model()->Look();
    EXPECT_EQ(look.timing().bars.size(), 4);
    EXPECT_EQ(std::count_if(look.timing().marks.cbegin(), look.timing().marks.cend(),
                            [](const TimingMark& mark) { return mark.kind == TimingMarkKind::Reset; }),
              2);
}

// The SVG holds a box in a status colour for each exchange in view.
TEST_F(TracePageTest, ExportTimingChartWritesSvgAndPngAsTheNameEnds)
{
    const QList<TimingBar> bars = threeExchanges();
    ui().MainTab->setCurrentWidget(ui().TraceSheet);
    for (const char* name : {"chart.svg", "chart.png", "chart.jpg"})
        dialogs().replies.push_back(folderPath(name));
    for (int i = 0; i < 3; ++i)
        ui().ExportTimingChart1->trigger();
    EXPECT_EQ(dialogs().fileRequests.at(0).filter, "SVG Picture|*.svg|PNG Image|*.png");

    QXmlStreamReader svg(readFile("chart.svg"));
    QStringList fills{"none"};
    int boxes = 0;
    while (!svg.atEnd()) {
        if (svg.readNext() == QXmlStreamReader::StartElement && svg.name() == u"g")
            fills.append(svg.attributes().value("fill").toString());
        else if (svg.isEndElement() && svg.name() == u"g")
            fills.removeLast();
        else if (svg.isStartElement() && svg.name() == u"rect")
            boxes += fills.last() == StatusColour(StatusClass::Normal).name() || fills.last() == StatusColour(StatusClass::Error).name();
    }
    EXPECT_FALSE(svg.hasError()) << svg.errorString().toStdString();
    EXPECT_EQ(boxes, bars.size());

    EXPECT_EQ(QImage(folderPath("chart.png")).size(), chart().size());
    EXPECT_EQ(shownTexts("error").size(), 1) << "chart.jpg";
    EXPECT_FALSE(QFile::exists(folderPath("chart.jpg")));
}

} // namespace
