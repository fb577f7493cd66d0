// kestrin-run --pcap -: the packets on standard output as the run goes, in place of the log.
#include "RunFixture.h"
#include "common/PcapPayloads.h"
#include "common/Tshark.h"

#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QByteArray LongScript = "REPEAT(100000)\r\nSEND('00 C0 00 00 00')\r\nWAIT(\"2000\")\r\nENDREPEAT\r\n";

TEST_F(RunTest, ThePcapStreamTakesStandardOutputAndTsharkDecodesIt)
{
    const RunResult result = run({"--pcap", "-", "--baud", "19200", "--log", "run.log", "--trace", "run.trace", "-e",
                                  "A0 A4 00 00 02", "-e", "3F 00"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    writeFile("stream.pcap", result.outBytes);
    EXPECT_EQ(PcapPayloads(result.outBytes).size(), 5) << "the ATR, the SELECT, two echoes and the procedure byte";
    EXPECT_TRUE(readFile("run.log").startsWith("3F 65 25 00 2C 09 69 90 00 ")) << "the log goes to --log only:\n"
                                                                                << readFile("run.log").toStdString();
    const QByteArray trace = readFile("run.trace");
    EXPECT_LT(trace.indexOf("ATR: inverse"), trace.indexOf("\t\t\tbaud rate 19200\n"));
    EXPECT_LT(trace.indexOf("\t\t\tbaud rate 19200\n"), trace.indexOf("to card")) << "switched before the first command";
    const auto shows = TsharkShows(path("stream.pcap"), {"ISO 7816 ATR", "File ID: MF (0x3f00)", "Status Word: 9f0f"});
    if (!shows)
        GTEST_SKIP() << TsharkMissing;
    EXPECT_TRUE(*shows);
}

TEST_F(RunTest, InterruptedItEndsThePcapStreamOnAWholePacketAndClosesThePort)
{
    writeFile("long.scr", LongScript);
    const auto process = start({"--pcap", "-", "long.scr"});
    ASSERT_TRUE(m_simulator.waitForReceived(50, std::chrono::seconds(30)));
    ::kill(pid_t(process->processId()), SIGINT);
    const RunResult result = finish(*process);
    EXPECT_EQ(result.exitCode, 130) << result.err.toStdString();
    EXPECT_TRUE(m_simulator.waitForCloses(1, std::chrono::seconds(30)));
    writeFile("stream.pcap", result.outBytes);
    const auto shows = TsharkShows(path("stream.pcap"), {"ISO 7816 ATR", "Instruction: Get response (0xc0)"});
    if (!shows)
        GTEST_SKIP() << TsharkMissing;
    EXPECT_TRUE(*shows);
}

// Wireshark closed: the run stops as an interrupted one does.
TEST_F(RunTest, APcapStreamWhoseReaderGoesAwayStopsTheRun)
{
    writeFile("long.scr", LongScript);
    QProcess reader;
    const auto process = start({"--pcap", "-", "long.scr"}, QProcess::nullDevice(), &reader);
    reader.start(QStringLiteral("head"), {QStringLiteral("-c"), QStringLiteral("1000")});
    ASSERT_TRUE(reader.waitForFinished(60'000));
    const RunResult result = finish(*process);
    EXPECT_EQ(result.exitCode, 130);
    EXPECT_TRUE(result.err.contains("the pcap stream on standard output broke off (Broken pipe)")) << result.err.toStdString();
    EXPECT_TRUE(m_simulator.waitForCloses(1, std::chrono::seconds(30)));
}

// Binary packets on a terminal help no one: refused before the card is touched.
TEST_F(RunTest, APcapStreamOnATerminalIsRefusedBeforeTheCardIsTouched)
{
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(grantpt(terminal) | unlockpt(terminal), 0);
    QProcess process;
    process.setStandardOutputFile(QString::fromLocal8Bit(ptsname(terminal)));
    process.start(RunProgram(), {"-d", m_simulator.devicePath(), "--pcap", "-", "-e", "00 A4 00 00 02"});
    ASSERT_TRUE(process.waitForFinished(60'000));
    close(terminal);
    EXPECT_EQ(process.exitCode(), 2);
    EXPECT_TRUE(process.readAllStandardError().contains("--pcap - writes binary packets to standard output, which is a "
                                                        "terminal"));
    EXPECT_TRUE(m_simulator.received().isEmpty());
}

} // namespace
