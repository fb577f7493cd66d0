#include "LinkOnPty.h"

#include "link/SerialPort.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

namespace {

// What the system answers to a line request on a fresh pseudo-terminal: 0 or the errno value.
int PtyAnswer(unsigned long request, int line = 0)
{
    const int master = posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0)
        return errno;
    int error = grantpt(master) == 0 && unlockpt(master) == 0 ? 0 : errno;
    if (error == 0) {
        const int slave = ::open(ptsname(master), O_RDWR | O_NOCTTY);
        error = ioctl(slave, request, &line) == 0 ? 0 : errno;
        ::close(slave);
    }
    ::close(master);
    return error;
}

// The boxes a link request should show, given the system's answer.
QStringList ReportFor(int error) { return error == 0 ? QStringList{} : QStringList{SystemText(error)}; }

} // namespace

class LinkLineOnPty : public LinkOnPty {
protected:
    termios LineSettings() const
    {
        termios settings{};
        EXPECT_EQ(tcgetattr(m_link.PortHandle()->Descriptor(), &settings), 0);
        return settings;
    }
    speed_t Speed() const
    {
        const termios settings = LineSettings();
        return cfgetospeed(&settings);
    }
};

TEST_F(LinkLineOnPty, BaudRatesChangeTheLineAndKeepItsFraming)
{
    StartAndTakeAtr();
    EXPECT_EQ(Speed(), speed_t(B9600));
    for (const auto& [baud, speed] : {std::pair{19200, B19200}, std::pair{38400, B38400}}) {
        m_link.SetBaudRate(baud);
        const termios settings = LineSettings();
        EXPECT_EQ(cfgetospeed(&settings), speed_t(speed));
        EXPECT_EQ(cfgetispeed(&settings), speed_t(speed));
        EXPECT_EQ(settings.c_cflag & (CSIZE | CSTOPB | CRTSCTS), tcflag_t(CS8 | CSTOPB));
        EXPECT_EQ(settings.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(settings.c_iflag & (IXON | IXOFF), 0u);
    }
    EXPECT_TRUE(m_host.ErrorBoxes().isEmpty());
    m_link.SendCommand("00 A4 00 00 02");
    EXPECT_TRUE(PumpUntilResponseEnds("00 A4 00 00 02 A4 "));
}

TEST_F(LinkLineOnPty, SettingTheRateTheLineAlreadyHasIsNoFault)
{
    StartAndTakeAtr();
    m_link.SetBaudRate(9600);
    m_link.SetBaudRate(19200);
    m_link.SetBaudRate(19200);
    EXPECT_EQ(m_host.ErrorBoxes(), QStringList{});
    EXPECT_EQ(Speed(), speed_t(B19200));
}

TEST_F(LinkLineOnPty, ARateTheLineCannotTakeIsReportedAndTheOldOneKept)
{
    StartAndTakeAtr();
    m_link.SetBaudRate(19200);
    m_link.SetBaudRate(14400);
    EXPECT_EQ(m_host.ErrorBoxes(), QStringList{SystemText(EINVAL)});
    EXPECT_EQ(Speed(), speed_t(B19200));
}

TEST_F(LinkLineOnPty, LineRequestsWithoutAnOpenPortAreReported)
{
    m_link.SetBaudRate(19200);
    m_link.LineControl(LineFunction::SetRts);
    m_host.portName = "/dev/kestrin-no-such-device";
    m_link.Start();
    m_link.LineControl(LineFunction::SetBreak);
    EXPECT_EQ(m_host.ErrorBoxes(),
              (QStringList{SystemText(EBADF), SystemText(EBADF), SystemText(ENOENT), SystemText(EBADF)}));
}

TEST_F(LinkLineOnPty, ModemLinesAreReportedMissingOnAPseudoTerminal)
{
    const int error = PtyAnswer(TIOCMBIS, TIOCM_DTR);
    ASSERT_NE(error, 0) << "a pseudo-terminal has no modem lines";
    StartAndTakeAtr();
    for (const LineFunction function : {LineFunction::SetDtr, LineFunction::ClrDtr, LineFunction::SetRts, LineFunction::ClrRts}) {
        m_host.fakeDialogs.shown.clear();
        m_link.LineControl(function);
        EXPECT_EQ(m_host.ErrorBoxes(), QStringList{SystemText(error)}) << int(function);
    }
    EXPECT_TRUE(m_link.Polling());
}

TEST_F(LinkLineOnPty, BreakDoesWhatTheSystemDoesOnAPseudoTerminal)
{
    StartAndTakeAtr();
    m_link.LineControl(LineFunction::SetBreak);
    EXPECT_EQ(m_host.ErrorBoxes(), ReportFor(PtyAnswer(TIOCSBRK)));
    m_host.fakeDialogs.shown.clear();
    m_link.LineControl(LineFunction::ClrBreak);
    EXPECT_EQ(m_host.ErrorBoxes(), ReportFor(PtyAnswer(TIOCCBRK)));

    m_link.SendCommand("00 A4 00 00 02");
    EXPECT_TRUE(PumpUntilResponseEnds("00 A4 00 00 02 A4 "));
}

TEST_F(LinkLineOnPty, LineChangesWaitForEveryByteHandedOverBeforeThem)
{
    StartAndTakeAtr();
    const qsizetype first = m_link.Timeline().Size();
    QByteArray bytes;
    for (int i = 0; i < 64; ++i)
        bytes.append(char(0xA0 ^ i));
    const QString sent = "out " + bytes.toHex(' ');
    const std::pair<std::function<void()>, QString> changes[] = {
        {[this] { m_link.SetBaudRate(19200); }, "baud 19200"},
        {[this] { m_link.LineControl(LineFunction::SetBreak); }, "line 8"},
        {[this] { m_link.LineControl(LineFunction::ClrBreak); }, "line 9"},
        {[this] { m_link.SetBaudRate(38400); }, "baud 38400"},
        {[this] { m_link.LineControl(LineFunction::SetBreak); }, "line 8"},
        {[this] { m_link.LineControl(LineFunction::ClrBreak); }, "line 9"},
        {[this] { m_link.SetBaudRate(9600); }, "baud 9600"},
    };
    QStringList expected;
    for (const auto& [change, text] : changes) {
        m_link.SendBytes(bytes); // no byte delay: the last bytes are still on their way
        change();
        expected << sent << text;
    }
    EXPECT_EQ(TimelineTexts(m_link.Timeline(), first, false), expected);
    EXPECT_EQ(ReceivedOnceThere(7 * bytes.size()), bytes.repeated(7));
    EXPECT_EQ(m_host.ErrorBoxes(), QStringList{});
}
