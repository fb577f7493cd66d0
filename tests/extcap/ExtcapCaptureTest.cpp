// kestrin-extcap in Wireshark's personal extcap folder, driven by tshark: the
// interface listed, and captures of runs against the card simulator.
#include "cardsim/CardSimulator.h"
#include "common/Tshark.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <csignal>
#include <gtest/gtest.h>

namespace {

// A bound that only ends a failing test; nothing is timed by it.
constexpr int PatienceMs = 120'000;

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

// The program under test: beside the test program in a copy, else the build's.
QString Program(const char* name, const char* built)
{
    const QString beside = QCoreApplication::applicationDirPath() + u'/' + QLatin1StringView(name);
    return QFileInfo(beside).isExecutable() ? beside : QString::fromUtf8(built);
}

Finished RunProcess(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment = {})
{
    QProcess process;
    if (!environment.isEmpty())
        process.setProcessEnvironment(environment);
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(PatienceMs)) << program.toStdString() << " still runs";
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardOutput()), QString::fromUtf8(process.readAllStandardError())};
}

// A program folder holding kestrin-extcap, kestrin-run, the sample scripts and a
// kestrin.ini naming the simulator, and a home whose Wireshark finds
// kestrin-extcap in its personal extcap folder (~/.config/wireshark/extcap up to
// Wireshark 4.0, ~/.local/lib/wireshark/extcap from 4.2 on).
class ExtcapCapture : public ::testing::Test {
protected:
    ExtcapCapture();
    // tshark captures through dumpcap, which Debian may leave to the group wireshark.
    void SetUp() override
    {
        if (m_tshark.isEmpty())
            GTEST_SKIP() << TsharkMissing;
        if (QStandardPaths::findExecutable(QStringLiteral("dumpcap")).isEmpty())
            GTEST_SKIP() << "this user may not run dumpcap (dpkg-reconfigure wireshark-common, group wireshark)";
    }

    Finished tshark(const QStringList& arguments) { return RunProcess(m_tshark, arguments, m_environment); }
    // Each ATR, command and response packet of a capture file as tshark decodes
    // it; not the echo and procedure bytes, whose parting depends on timing.
    QStringList decoded(const QString& name)
    {
        return tshark({"-r", path(name), "-Y", "!data", "-T", "fields", "-e", "_ws.col.Protocol", "-e", "_ws.col.Info"})
            .out.split(u'\n', Qt::SkipEmptyParts);
    }
    // tshark's arguments for a capture on the simulator's interface with the
    // extcap's options, into capture.pcap; it ends with the run.
    QStringList captureArguments(const QStringList& options) const;
    Finished capture(const QStringList& options) { return tshark(captureArguments(options)); }
    QString path(const QString& name) const { return m_folder.filePath(name); }

    CardSimulator m_simulator;
    QString m_tshark = QStandardPaths::findExecutable(QStringLiteral("tshark"));
    QProcessEnvironment m_environment = QProcessEnvironment::systemEnvironment();

private:
    void LinkIntoExtcapFolder(const QString& folder);

    QTemporaryDir m_folder;
};

ExtcapCapture::ExtcapCapture()
{
    QDir(m_folder.path()).mkpath(QStringLiteral("program"));
    QFile::copy(Program("kestrin-extcap", KESTRIN_EXTCAP_PROGRAM), path("program/kestrin-extcap"));
    QFile::copy(Program("kestrin-run", KESTRIN_RUN_PROGRAM), path("program/kestrin-run"));
    const QDir samples(qEnvironmentVariable("KESTRIN_SAMPLE_SCRIPTS", QStringLiteral(KESTRIN_SAMPLE_SCRIPTS)));
    for (const QString& name : samples.entryList({QStringLiteral("*.scr")}, QDir::Files))
        QFile::copy(samples.filePath(name), path("program/" + name));
    QFile settings(path("program/kestrin.ini"));
    EXPECT_TRUE(settings.open(QIODevice::WriteOnly));
    settings.write("[SYSTEM]\r\nCOM=" + m_simulator.devicePath().toUtf8() + "\r\n");
    LinkIntoExtcapFolder(QStringLiteral("home/.config/wireshark/extcap"));
    LinkIntoExtcapFolder(QStringLiteral("home/.local/lib/wireshark/extcap"));
    m_environment.insert(QStringLiteral("HOME"), path("home"));
    m_environment.insert(QStringLiteral("WIRESHARK_CONFIG_DIR"), path("home/.config/wireshark"));
    m_environment.remove(QStringLiteral("XDG_CONFIG_HOME"));
}

void ExtcapCapture::LinkIntoExtcapFolder(const QString& folder)
{
    QDir(m_folder.path()).mkpath(folder);
    EXPECT_TRUE(QFile::link(path("program/kestrin-extcap"), path(folder + "/kestrin-extcap")));
}

QStringList ExtcapCapture::captureArguments(const QStringList& options) const
{
    QStringList arguments{"-i", "kestrin-serial", "-F", "pcap", "-w", path("capture.pcap")};
    for (const QString& option : options)
        arguments << "-o" << "extcap.kestrin_serial." + option;
    return arguments;
}

TEST_F(ExtcapCapture, TsharkListsTheSettingsCardInterface)
{
    const Finished listed = tshark({"-D"});
    EXPECT_EQ(listed.exitCode, 0) << listed.err.toStdString();
    EXPECT_TRUE(listed.out.contains(". kestrin-serial (Kestrin T.R.X card interface " + m_simulator.devicePath() + ")\n"))
        << listed.out.toStdString();
}

// The demo captured live decodes as kestrin-run's export of the same run on a
// card as new (the demo changes EF 0001).
TEST_F(ExtcapCapture, ACaptureOfTheDemoDecodesAsItsExportedPcap)
{
    const Finished captured = capture({"script:demo.scr", "p1:01", "prompt:yes"});
    EXPECT_EQ(captured.exitCode, 0) << captured.err.toStdString();
    EXPECT_FALSE(captured.err.contains("Error by extcap pipe")) << captured.err.toStdString();

    CardSimulator newCard;
    const Finished exported = RunProcess(path("program/kestrin-run"), {"-d", newCard.devicePath(), "-p", "P1=01", "--yes", "-q",
                                                                "--pcap", path("exported.pcap"), path("program/demo.scr")});
    ASSERT_EQ(exported.exitCode, 0) << exported.err.toStdString();
    const QStringList packets = decoded("capture.pcap");
    EXPECT_EQ(packets, decoded("exported.pcap"));
    EXPECT_EQ(packets.size(), 28);
    EXPECT_TRUE(packets.contains("GSM SIM\tISO/IEC 7816-4 unless stated otherwise VERIFY CHV CHV=1 "))
        << packets.join(u'\n').toStdString();
}

// Stopping the capture in Wireshark (here tshark's Ctrl+C) ends the run cleanly
// and quietly: the port closed, the capture readable to its last packet.
TEST_F(ExtcapCapture, StoppingTheCaptureEndsTheRunQuietlyAndClosesThePort)
{
    QFile script(path("program/long.scr"));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("REPEAT(100000)\r\nSEND('00 C0 00 00 00')\r\nWAIT(\"2000\")\r\nENDREPEAT\r\n");
    script.close();
    QProcess process;
    process.setProcessEnvironment(m_environment);
    process.start(m_tshark, captureArguments({"script:long.scr"}));
    ASSERT_TRUE(m_simulator.waitForReceived(50, std::chrono::seconds(60)));
    ::kill(pid_t(process.processId()), SIGINT);
    ASSERT_TRUE(process.waitForFinished(PatienceMs));
    const QString err = QString::fromUtf8(process.readAllStandardError());
    EXPECT_EQ(process.exitCode(), 0) << err.toStdString();
    EXPECT_FALSE(err.contains("Error by extcap pipe")) << err.toStdString();
    EXPECT_TRUE(m_simulator.waitForCloses(1, std::chrono::seconds(30)));
    EXPECT_TRUE(*TsharkShows(path("capture.pcap"), {"ISO 7816 ATR", "Instruction: Get response (0xc0)"}));
}

// A run that fails on its own says why in Wireshark's error box, and only why.
TEST_F(ExtcapCapture, ARunThatFailsSaysWhyInWireshark)
{
    const Finished captured = capture({"script:demo.scr"});
    EXPECT_TRUE(captured.err.contains("tshark: Error by extcap pipe: kestrin-run: GET(P1) needs a value: 'First "
                                      "record to read (01 to 05)' (give --param P1=VALUE)\n\n"))
        << captured.err.toStdString();
    EXPECT_TRUE(m_simulator.waitForCloses(1, std::chrono::seconds(30)));
}

} // namespace
