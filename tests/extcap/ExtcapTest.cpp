// kestrin-extcap's answers to Wireshark and the kestrin-run it starts, without Wireshark.
#include "base/KestrinError.h"
#include "extcap/CaptureInterfaces.h"
#include "extcap/CaptureRun.h"
#include "extcap/ExtcapRequest.h"
#include "extcap/ExtcapSentences.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>

namespace {

QStringList Described(const QList<CaptureInterface>& interfaces)
{
    QStringList described;
    for (const CaptureInterface& interface : interfaces)
        described << interface.value + u'|' + interface.display + u'|' + interface.device;
    return described;
}

TEST(CaptureInterfaces, OfferTheSettingsSerialDeviceAndEachReaderUnderNamesWiresharkKeeps)
{
    const struct {
        QString device;
        QStringList readers;
        QStringList interfaces;
    } cases[] = {
        {"COM1", {}, {"kestrin-serial|Kestrin T.R.X card interface COM1 (/dev/ttyS0)|COM1"}},
        {"/dev/ttyUSB0",
         {"Virtual PCD 00 00", " ACS (ACR38U) 01 00"},
         {"kestrin-serial|Kestrin T.R.X card interface /dev/ttyUSB0|/dev/ttyUSB0",
          "kestrin-pcsc-virtual-pcd-00-00|Kestrin T.R.X PC/SC reader Virtual PCD 00 00|pcsc:Virtual PCD 00 00",
          "kestrin-pcsc-acs-acr38u-01-00|Kestrin T.R.X PC/SC reader  ACS (ACR38U) 01 00|pcsc: ACS (ACR38U) 01 00"}},
        {"pcsc:", {"Virtual PCD 00 00"},
         {"kestrin-pcsc-virtual-pcd-00-00|Kestrin T.R.X PC/SC reader Virtual PCD 00 00|pcsc:Virtual PCD 00 00"}},
        {"", {}, {}},
    };
    for (const auto& [device, readers, interfaces] : cases)
        EXPECT_EQ(Described(CaptureInterfaces(device, readers)), interfaces) << device.toStdString();
}

TEST(ExtcapSentences, ListTheInterfacesWithTheirBracesMadeParentheses)
{
    const QList<CaptureInterface> interfaces{{"kestrin-pcsc-x", "Kestrin T.R.X PC/SC reader {x}", "pcsc:{x}"}};
    EXPECT_EQ(ExtcapSentences::Interfaces("1.5", interfaces),
              "extcap {version=1.5}{display=Kestrin T.R.X card links}\n"
              "interface {value=kestrin-pcsc-x}{display=Kestrin T.R.X PC/SC reader (x)}\n");
}

// What the capture dialog chose, as kestrin-run's command line.
TEST(ExtcapRequest, ACaptureRunsKestrinRunWithThePcapStreamAndTheOptionsChosen)
{
    const ExtcapRequest request = ParseExtcapRequest(
        {"--capture", "--extcap-interface", "kestrin-serial", "--fifo", "/tmp/f", "--script", "-odd.scr", "--baud=19200",
         "--p1", "01", "--p3", "", "--p5", "P2=x", "--prompt", "no", "--extcap-capture-filter", "tcp"});
    EXPECT_EQ(request.action, ExtcapRequest::Action::Capture);
    EXPECT_EQ(RunArguments(request, "COM1"),
              QStringList({"--device", "COM1", "--pcap", "-", "--baud", "19200", "--param", "P1=01", "--param", "P5=P2=x",
                           "--no", "--", "-odd.scr"}));
    const ExtcapRequest plain = ParseExtcapRequest(
        {"--capture", "--extcap-interface", "kestrin-serial", "--fifo", "/tmp/f", "--script", "a.scr", "--baud", "9600",
         "--prompt", "stop"});
    EXPECT_EQ(RunArguments(plain, "COM1"), QStringList({"--device", "COM1", "--pcap", "-", "--", "a.scr"}));
    EXPECT_EQ(ParseExtcapRequest({"--extcap-interfaces", "--extcap-version=4.0"}).action,
              ExtcapRequest::Action::Interfaces);
}

TEST(ExtcapRequest, RefusesWhatItCannotRunSayingWhy)
{
    const struct {
        QStringList arguments;
        const char* said;
    } cases[] = {
        {{"--frobnicate"}, "unknown option '--frobnicate' (see --help)"},
        {{"--extcap-interface"}, "--extcap-interface needs a value"},
        {{"--prompt", "maybe"}, "--prompt takes yes, no or stop, not 'maybe'"},
        {{"--capture", "--fifo", "/tmp/f"}, "--capture needs --extcap-interface and --fifo"},
        {{"--capture", "--extcap-interface", "kestrin-serial", "--fifo", "/tmp/f", "--script", ""},
         "no script or data file to run: choose one in the interface's options (--script)"},
    };
    for (const auto& [arguments, said] : cases) {
        try {
            ParseExtcapRequest(arguments);
            ADD_FAILURE() << "accepted: " << arguments.join(' ').toStdString();
        } catch (const KestrinError& error) {
            EXPECT_EQ(error.message(), QString::fromUtf8(said));
        }
    }
}

// A shell stands in for kestrin-run. Wireshark's SIGTERM reaches it, and its
// end as an interrupted run is no error, nor is its end when the fifo's reader
// goes first; a run that fails passes on its status and the lines that say why,
// not the boxes before them.
TEST(RunCapture, PassesAStopOnAndEndsQuietlyAndAFailureSaysWhy)
{
    QTemporaryDir folder;
    const QString ready = folder.filePath("ready");
    const QString stoppable = QStringLiteral("trap 'echo kestrin-run: stopped >&2; exit 130' TERM; touch ready; "
                                             "while :; do sleep 0.05; done");
    QTimer stopWhenReady;
    QObject::connect(&stopWhenReady, &QTimer::timeout, [&] {
        if (!QFileInfo::exists(ready))
            return;
        stopWhenReady.stop();
        std::raise(SIGTERM);
    });
    stopWhenReady.start(10);
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunCapture("/bin/sh", {"-c", stoppable}, folder.filePath("out"), folder.path()), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    // dumpcap closed the fifo before Wireshark's signal came: the run ends on its own as stopped.
    const QString readerGone = QStringLiteral("echo 'kestrin-run: the pcap stream broke off' >&2; exit 130");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunCapture("/bin/sh", {"-c", readerGone}, folder.filePath("out"), folder.path()), 0);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "");

    const QString failing = QStringLiteral("echo 'message: hello' >&2; echo 'kestrin-run: no answer' >&2; exit 5");
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(RunCapture("/bin/sh", {"-c", failing}, folder.filePath("out"), folder.path()), 5);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(), "kestrin-run: no answer\n");
}

} // namespace
