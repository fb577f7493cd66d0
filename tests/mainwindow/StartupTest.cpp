// Start-up, the settings file, the Setup page and starting the link.
#include "MainWindowFixture.h"

#include "base/ProgramFolder.h"
#include "ui_TMainForm.h"

#include <QDir>
#include <QTest>

namespace {

class StartupTest : public MainWindowTest {
protected:
    // The Setup page as designed, the status bar untouched, no link.
    void expectDesignValuesAndNoLink()
    {
        EXPECT_EQ(ui().COMLIST->text(), "COM1");
        EXPECT_EQ(ui().Delay->text(), "500");
        EXPECT_EQ(ui().CmdDelay->text(), "20000");
        EXPECT_FALSE(ui().AutoInit->isChecked());
        EXPECT_EQ(ui().ComLabel->text(), "COM");
        EXPECT_EQ(form().PortHandle(), nullptr);
        EXPECT_EQ(form().Worker(), nullptr);
        EXPECT_EQ(lightColour(), Red);
    }
};

TEST_F(StartupTest, WithoutSettingsFileTheDesignValuesStayAndNothingStarts)
{
    form().FormShow();
    expectDesignValuesAndNoLink();
    EXPECT_EQ(ui().BaudRate->currentText(), "9600");
    EXPECT_TRUE(ui().dat->toPlainText().isEmpty());
    EXPECT_TRUE(dialogs().shown.empty());
}

TEST_F(StartupTest, ComNaLoadsNothingElse)
{
    writeSettings({"COM=NA", "BDELAY=7", "CDELAY=8", "AUTOINIT=1"});
    form().FormShow();
    expectDesignValuesAndNoLink();
}

// The reader's echo is a choice of its own: a file holding only it still holds it.
TEST_F(StartupTest, TheReaderEchoHoldsWithoutTheSystemSection)
{
    writeFile("kestrin.ini", "[PCSC]\nECHO=0\n");
    form().FormShow();
    EXPECT_FALSE(ui().PcscEcho->isChecked());
    expectDesignValuesAndNoLink();
}

TEST_F(StartupTest, MissingDelayKeysReadNaAndAutoInitCountsOnlyANonZeroNumber)
{
    writeSettings({"COM=COM4", "AUTOINIT=yes"});
    form().FormShow();
    EXPECT_EQ(ui().COMLIST->text(), "COM4");
    EXPECT_EQ(ui().ComLabel->text(), "COM4");
    EXPECT_EQ(ui().Delay->text(), "NA");
    EXPECT_EQ(ui().CmdDelay->text(), "NA");
    EXPECT_FALSE(ui().AutoInit->isChecked());
    EXPECT_EQ(form().PortHandle(), nullptr);
}

TEST_F(StartupTest, AutoInitOpensThePortWhenTheWindowIsShownAndTheAtrArrives)
{
    writeSettings({"COM=" + simulator().devicePath(), "BDELAY=0", "CDELAY=10", "AUTOINIT=0x1"});
    form().show();
    ASSERT_TRUE(pumpUntil([this] { return form().Response().startsWith("3F "); }));
    EXPECT_EQ(simulator().opens(), 1);
    EXPECT_TRUE(form().Link().Polling());
    EXPECT_EQ(form().Response(), "3F 65 25 00 2C 09 69 90 00 ");
    EXPECT_TRUE(log().contains("3F 65 25 00 2C 09 69 90 00 "));
    EXPECT_EQ(lightColour(), Green);
    EXPECT_EQ(ui().ComLabel->toolTip(), simulator().devicePath());
    EXPECT_TRUE(dialogs().shown.empty());
}

TEST_F(StartupTest, SaveWritesExactlyTheFourKeysAsTyped)
{
    ui().COMLIST->setText("COM3");
    ui().Delay->setText(" 7");
    ui().CmdDelay->setText("x y");
    ui().AutoInit->setChecked(true);
    ui().Button1->click();
    EXPECT_EQ(readFile("kestrin.ini"), "[SYSTEM]\nCOM=COM3\nBDELAY= 7\nCDELAY=x y\nAUTOINIT=1\n");
    ui().AutoInit->setChecked(false);
    ui().Button1->click();
    EXPECT_EQ(readFile("kestrin.ini"), "[SYSTEM]\nCOM=COM3\nBDELAY= 7\nCDELAY=x y\nAUTOINIT=0\n");
    EXPECT_TRUE(dialogs().shown.empty());
}

TEST_F(StartupTest, SavedSettingsComeBackAtTheNextInitialisation)
{
    ui().COMLIST->setText("ttyUSB3");
    ui().Delay->setText("12");
    ui().CmdDelay->setText("34");
    ui().Button1->click();
    ui().COMLIST->setText("COM9");
    ui().Delay->setText("0");
    form().FormShow();
    EXPECT_EQ(ui().COMLIST->text(), "ttyUSB3");
    EXPECT_EQ(ui().Delay->text(), "12");
    EXPECT_EQ(ui().CmdDelay->text(), "34");
    EXPECT_FALSE(ui().AutoInit->isChecked());
}

TEST_F(StartupTest, UnwritableSettingsFileShowsOneErrorNamingIt)
{
    // A program folder and a configuration home that are regular files: no file
    // can be made under them, whoever runs the test. The settings go per user.
    writeFile("plain", "not a folder");
    SetProgramFolder(folderPath("plain"));
    const QByteArray configHome = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", folderPath("plain").toLocal8Bit());
    form().FormShow();
    ui().Button1->click();
    qputenv("XDG_CONFIG_HOME", configHome);
    const QString path = folderPath("plain/kestrin/kestrin.ini");
    EXPECT_EQ(ui().SettingsFile->text(), QDir::toNativeSeparators(path));
    const QStringList errors = shownTexts("error");
    ASSERT_EQ(errors.size(), 1) << "the keys after the failing one are not tried";
    EXPECT_TRUE(errors[0].startsWith("Unable to write to " + path)) << errors[0].toStdString();
    EXPECT_EQ(readFile("plain"), "not a folder");
}

TEST_F(StartupTest, StatusLightShowsTheDeviceNamesLastPartAndTheWholeNameAsHint)
{
    const QString longName = "usb-FTDI_FT232R_USB_UART_A9XK2L1Q-if00-port0";
    const struct {
        QString device;
        QString caption;
    } cases[] = {{"COM2", "COM2"},
                 {"/dev/ttyUSB0", "ttyUSB0"},
                 {"/home/me/build/demo/card", "card"},
                 {"/dev/serial/", "serial"},
                 {"/", "/"}};
    for (const auto& c : cases) {
        ui().COMLIST->setText(c.device);
        EXPECT_EQ(ui().ComLabel->text(), c.caption) << c.device.toStdString();
        EXPECT_EQ(ui().ComLabel->toolTip(), c.device);
        EXPECT_EQ(ui().ComLabel->accessibleDescription(), c.device);
    }
    ui().COMLIST->setText("/dev/serial/by-id/" + longName);
    const QStringList ends = ui().ComLabel->text().split(QChar(0x2026));
    ASSERT_EQ(ends.size(), 2) << ui().ComLabel->text().toStdString();
    EXPECT_TRUE(longName.startsWith(ends[0]) && longName.endsWith(ends[1]) && !ends[0].isEmpty() && !ends[1].isEmpty())
        << ui().ComLabel->text().toStdString();
    const QString shown = ui().ComLabel->text();
    EXPECT_LE(ui().ComLabel->fontMetrics().horizontalAdvance(shown), ui().Light1->width());
}

TEST_F(StartupTest, SetupPageShowsTheSettingsFileThatSaveWrites)
{
    form().FormShow();
    EXPECT_EQ(ui().SettingsFile->text(), QDir::toNativeSeparators(folderPath("kestrin.ini")));
}

TEST_F(StartupTest, ComLabelFollowsEveryChangeOfComport)
{
    ui().COMLIST->clear();
    EXPECT_EQ(ui().ComLabel->text(), "");
    QTest::keyClicks(ui().COMLIST, "COM2");
    EXPECT_EQ(ui().ComLabel->text(), "COM2");
    QTest::keyClick(ui().COMLIST, Qt::Key_Backspace);
    EXPECT_EQ(ui().ComLabel->text(), "COM");
}

TEST_F(StartupTest, InitializeWithAMissingDeviceReportsItAndACorrectedNameStarts)
{
    ui().COMLIST->setText(folderPath("no-such-device"));
    form().ExplorerButton2Click();
    ASSERT_EQ(dialogs().shown.size(), 1u);
    EXPECT_EQ(dialogs().shown[0].kind, "box");
    EXPECT_EQ(dialogs().shown[0].caption, "GetLastError");
    EXPECT_FALSE(dialogs().shown[0].text.isEmpty());
    EXPECT_EQ(lightColour(), Red);
    EXPECT_NE(form().PortHandle(), nullptr);
    EXPECT_FALSE(form().Link().Polling());

    startLink();
    EXPECT_EQ(lightColour(), Green);
    EXPECT_EQ(dialogs().shown.size(), 1u);
}

TEST_F(StartupTest, AVanishedCardInterfaceTurnsTheLightRedAndSendingGoesOn)
{
    startLink();
    simulator().hangUp();
    ASSERT_TRUE(pumpUntil([this] { return !dialogs().shown.empty(); }));
    EXPECT_EQ(dialogs().shown[0].caption, "GetLastError");
    EXPECT_FALSE(form().Link().Polling());
    EXPECT_EQ(lightColour(), Red);
    EXPECT_EQ(statText(), "Card interface closed.");
    ui().raw->setPlainText("A0\nR");
    form().ExplorerButton4Click();
    EXPECT_EQ(statText(), "Ready.");
    EXPECT_EQ(dialogs().shown.size(), 1u);
}

// A second start closes the port and opens it anew: the card answers the reopen
// with its ATR and no error box appears.
TEST_F(StartupTest, InitializeAgainReopensThePort)
{
    startLink();
    form().ExplorerButton2Click();
    EXPECT_TRUE(simulator().waitForCloses(1, std::chrono::seconds(30)));
    EXPECT_TRUE(simulator().waitForOpens(2, std::chrono::seconds(30)));
    EXPECT_TRUE(form().Link().Polling());
    EXPECT_TRUE(dialogs().shown.empty());
}

} // namespace
