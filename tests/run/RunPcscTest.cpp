// kestrin-run with a PC/SC reader as its card interface: the simulator's card in
// the tests' own virtual reader.
#include "RunFixture.h"

#include "virtualreader/VirtualReader.h"

#include <atomic>
#include <thread>

namespace {

// A transcript recorded through the serial interface passes as the check of the
// same script through the reader; a reader that is not there is named.
TEST_F(RunTest, AReaderPassesTheCheckRecordedThroughTheSerialInterface)
{
    VirtualReader reader; // kestrin-run inherits its private pcscd
    const RunResult serial = run({"--record", "serial.txt", "iccid.scr"});
    ASSERT_EQ(serial.exitCode, 0) << serial.err.toStdString();
    const RunResult pcsc = run({"-d", "pcsc:", "--check", "serial.txt", "iccid.scr"});
    EXPECT_EQ(pcsc.exitCode, 0) << pcsc.err.toStdString();
    EXPECT_TRUE(pcsc.out.contains("ICCID: 98 94 00 01 23 45 67 89 01 F2 status 90 00")) << pcsc.out.toStdString();
    const RunResult missing = run({"-d", "pcsc:no such reader", "-e", "00"});
    EXPECT_EQ(missing.exitCode, 3);
    EXPECT_TRUE(missing.err.contains("the PC/SC reader 'no such reader' could not be opened (unknown reader specified)\n"))
        << missing.err.toStdString();
}

// A data file whose blocks hold a UICC's TERMINAL PROFILE, its data after the
// command delay, then bytes no card takes and a SELECT: the profile takes its
// data, the stray bytes go nowhere and are told in the log and the trace, the
// SELECT still reaches the card, and the run says that bytes never reached it.
TEST_F(RunTest, BytesAReaderDoesNotPassOnFailTheRunAndAreTold)
{
    VirtualReader reader;
    writeFile("profile.dat", "80 10 00 00 03\nR\nFF FF FF\nR\nFF FF FF\nR\nA0 A4 00 00 02\nR\n3F 00\nR\n");
    const RunResult result =
        run({"-d", "pcsc:", "--command-delay", "20000", "--trace", "trace.txt", "profile.dat"});
    EXPECT_EQ(result.exitCode, 6) << result.err.toStdString();
    const QString traffic = QString(result.out).remove(u'\n'); // where the lines end depends on timing
    EXPECT_TRUE(traffic.contains("80 10 00 00 03 10 FF FF FF 6E 00")) << result.out.toStdString();
    EXPECT_TRUE(result.out.contains("(PC/SC reader: FF FF FF sent outside a command")) << result.out.toStdString();
    EXPECT_TRUE(traffic.contains("A0 A4 00 00 02 A4 3F 00 9F 0F")) << result.out.toStdString();
    EXPECT_TRUE(readFile("trace.txt").contains("PC/SC reader: FF FF FF sent outside a command"));
    EXPECT_TRUE(result.err.contains("3 bytes sent never reached the card")) << result.err.toStdString();
}

// Through a reader that gives the answers of a written chunk only after all of
// its commands, and a card that takes its time, the run still waits for every
// answer before it closes the port.
TEST_F(RunTest, AReaderRunEndsOnceEveryCommandIsAnswered)
{
    VirtualReader reader;
    std::atomic<int> answered{0};
    reader.Card().setLogger([&answered](const QString& line) {
        if (line.contains(QStringLiteral(" -> "))) {
            std::this_thread::sleep_for(std::chrono::milliseconds(50)); // the card's work
            ++answered;
        }
    });
    QByteArray reads = "00 A4 00 00 02\n00 01\nR\n";
    for (int block = 0; block < 20; ++block)
        reads += "00 B0 00 00 02\nR\n";
    writeFile("reads.dat", reads);
    const RunResult result = run({"-d", "pcsc:", "--record", "reads.txt", "reads.dat"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(answered, 21);
    const QByteArray transcript = readFile("reads.txt");
    EXPECT_EQ(QByteArray(transcript).replace("\n< ", " ").count("B0 48 45 90 00"), 20) << transcript.toStdString();
}

} // namespace
