// A PC/SC reader as the card interface of the window: the Setup page's reader
// suggestions and echo choice, and the sample scripts and data file giving the
// Active Log they give through the serial interface.
#include "MainWindowFixture.h"

#include "ui_TMainForm.h"
#include "virtualreader/VirtualReader.h"

#include <QAbstractItemView>
#include <QCompleter>
#include <QDir>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <QTextStream>

namespace {

// Every PC/SC call of this program goes to the tests' own pcscd, also the
// suggestions' when a window's device name takes the focus.
const bool PrivatePcscd = (VirtualReader::UsePrivateSocket(), true);

const QString SimulatorAtr = QStringLiteral("3F 65 25 00 2C 09 69 90 00 ");

class PcscWindowTest : public MainWindowTest {
protected:
    // Starts the link on `device` with the demo's delays and waits for the card's ATR.
    void start(const QString& device)
    {
        ui().COMLIST->setText(device);
        ui().Delay->setText(QStringLiteral("500"));
        ui().CmdDelay->setText(QStringLiteral("20000"));
        form().ExplorerButton2Click();
        ASSERT_TRUE(pumpUntil([this] { return form().Response().endsWith(SimulatorAtr); }))
            << form().Response().toStdString();
    }
    // The samples' waits (10 and 100 ms) made 200 ms, patient enough for a busy machine,
    // through the reader and through the pseudo-terminal alike; the demo's last
    // wait, which only keeps its results on screen, made short.
    void copyPatientSampleScripts()
    {
        copySampleScripts();
        static const QRegularExpression shortWait(QStringLiteral("WAIT\\(\"20{3,4}\"\\)"));
        for (const QString& name : QDir(folderPath({})).entryList({QStringLiteral("*.scr")}, QDir::Files)) {
            QFile file(folderPath(name));
            ASSERT_TRUE(file.open(QIODevice::ReadWrite));
            QString text = QString::fromLatin1(file.readAll());
            text.replace(shortWait, QStringLiteral("WAIT(\"40000\")"));
            text.replace(QStringLiteral("WAIT(\"200000\")"), QStringLiteral("WAIT(\"1\")"));
            file.resize(0);
            file.write(text.toLatin1());
        }
    }
    void runScript(const QString& name)
    {
        ui().MainTab->setCurrentWidget(ui().TabSheet1);
        ui().ScriptList->setCurrentItem(ui().ScriptList->findItems(name, Qt::MatchExactly).value(0));
        ui().LoadScript->click();
        form().ExplorerButton4Click();
    }
    // The Active Logs of the demo and of the sample data file run on `device`,
    // from an empty response as at the program's start.
    QStringList demoLogs(const QString& device)
    {
        form().Session().ClearResponse();
        start(device);
        dialogs().replies = {QStringLiteral("01")};
        dialogs().okCancelReplies = {true};
        runScript(QStringLiteral("demo.scr"));
        const QString scripts = log();
        dialogs().replies = {folderPath(QStringLiteral("iccid.dat"))};
        ui().OpenXPL1->trigger(); // empties the Active Log
        ui().DataTab->setCurrentWidget(ui().XplTab);
        form().ExplorerButton4Click();
        EXPECT_TRUE(pumpUntil([this] { return form().Response().endsWith(QStringLiteral("90 00 ")); }));
        return {scripts, log()};
    }
};

TEST_F(PcscWindowTest, TheSetupPageOffersTheReadersAndKeepsTheEchoChoiceInItsOwnSection)
{
    VirtualReader reader;
    showForm();
    form().activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    ui().MainTab->setCurrentWidget(ui().Setup);
    ui().COMLIST->setFocus();
    QCompleter* completer = ui().COMLIST->completer();
    ASSERT_NE(completer, nullptr);
    QStringList offered;
    for (int row = 0; row < completer->model()->rowCount(); ++row)
        offered << completer->model()->index(row, 0).data().toString();
    EXPECT_TRUE(offered.contains(QStringLiteral("pcsc:"))) << offered.join(" | ").toStdString();
    EXPECT_TRUE(offered.contains(QStringLiteral("pcsc:") + VirtualReader::ReaderName()));
    QTest::keyClick(ui().COMLIST, Qt::Key_Down);
    EXPECT_TRUE(completer->popup()->isVisible());
    EXPECT_EQ(completer->completionCount(), offered.size());
    QTest::keyClick(completer->popup(), Qt::Key_Escape);
    ui().COMLIST->clear();
    QTest::keyClicks(ui().COMLIST, QStringLiteral("pcsc"));
    EXPECT_TRUE(completer->popup()->isVisible());
    QTest::keyClick(completer->popup(), Qt::Key_Down);
    QTest::keyClick(completer->popup(), Qt::Key_Down);
    const QString highlighted = ui().COMLIST->text();
    EXPECT_TRUE(highlighted.startsWith(QStringLiteral("pcsc:")) && highlighted.size() > 5) << highlighted.toStdString();
    QTest::keyClick(completer->popup(), Qt::Key_Return);
    EXPECT_EQ(ui().COMLIST->text().toStdString(), highlighted.toStdString()) << "Return keeps the chosen reader";

    EXPECT_TRUE(ui().PcscEcho->isChecked());
    ui().Button1->click();
    EXPECT_FALSE(readFile(QStringLiteral("kestrin.ini")).contains("[PCSC]"));
    ui().PcscEcho->setChecked(false);
    ui().Button1->click();
    EXPECT_TRUE(readFile(QStringLiteral("kestrin.ini")).endsWith("[PCSC]\nECHO=0\n"));
    ui().PcscEcho->setChecked(true);
    form().InitializeAll();
    EXPECT_FALSE(ui().PcscEcho->isChecked());
}

// The log's words in order. Where a line end falls among the bytes that arrive
// just after a command line has gone out depends on when they arrive, through
// the pseudo-terminal as through the reader.
QStringList Words(const QString& log)
{
    static const QRegularExpression space(QStringLiteral("\\s+"));
    return log.split(space, Qt::SkipEmptyParts);
}

// Writes the two logs side by side to the file named by KESTRIN_PCSC_LOGS, if any.
void SaveSideBySide(const QString& serialLog, const QString& pcscLog)
{
    const QString path = qEnvironmentVariable("KESTRIN_PCSC_LOGS");
    QFile file(path);
    if (path.isEmpty() || !file.open(QIODevice::WriteOnly | QIODevice::Text))
        return;
    const QStringList left = serialLog.split(QStringLiteral("\r\n"));
    const QStringList right = pcscLog.split(QStringLiteral("\r\n"));
    qsizetype width = 0;
    for (const QString& line : left)
        width = std::max(width, line.size());
    QTextStream out(&file);
    out << QStringLiteral("Through the serial interface (pty)").leftJustified(width) << " | Through the PC/SC reader\n";
    for (qsizetype row = 0; row < std::max(left.size(), right.size()); ++row)
        out << left.value(row).leftJustified(width) << " | " << right.value(row) << '\n';
}

TEST_F(PcscWindowTest, TheDemoAndTheSampleDataFileLogAsThroughTheSerialInterface)
{
    VirtualReader reader;
    copyPatientSampleScripts();
    const QDir data(qEnvironmentVariable("KESTRIN_SAMPLE_DATA", QStringLiteral(KESTRIN_SAMPLE_DATA)));
    ASSERT_TRUE(QFile::copy(data.filePath(QStringLiteral("iccid.dat")), folderPath(QStringLiteral("iccid.dat"))));
    showForm();
    const QStringList pcsc = demoLogs(QStringLiteral("pcsc:"));
    QStringList serial;
    {
        const CardSimulator card;
        serial = demoLogs(card.devicePath());
        form().Link().Stop(); // before its card goes
    }
    EXPECT_TRUE(pcsc[0].contains(QStringLiteral("ICCID: 98 94 00 01 23 45 67 89 01 F2 status 90 00")));
    EXPECT_EQ(Words(pcsc[0]).join(' ').toStdString(), Words(serial[0]).join(' ').toStdString());
    EXPECT_EQ(Words(pcsc[1]).join(' ').toStdString(), Words(serial[1]).join(' ').toStdString());
    SaveSideBySide(serial.join(QStringLiteral("\r\n")), pcsc.join(QStringLiteral("\r\n")));

    // RESET.SCR resets the card in the reader, whose new ATR it prints.
    start(QStringLiteral("pcsc:"));
    reader.Card().setAtr(QByteArray::fromHex("3B 02 14 50"));
    runScript(QStringLiteral("reset.scr"));
    EXPECT_TRUE(form().Response().endsWith(QStringLiteral("3B 02 14 50 "))) << form().Response().toStdString();
    EXPECT_EQ(log().count(QStringLiteral("(PC/SC reader")), 1);
    EXPECT_TRUE(log().trimmed().endsWith(QStringLiteral("3B 02 14 50"))) << log().toStdString();
}

} // namespace
