// kestrin-run with a PC/SC reader as its card interface: the simulator's card in
// the tests' own virtual reader.
#include "RunFixture.h"

#include "virtualreader/VirtualReader.h"

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

} // namespace
