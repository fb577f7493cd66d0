#include "LinkOnPty.h"
#include "LockHolder.h"

#include "base/MessagePump.h"
#include "link/SerialPort.h"
#include "link/TComm.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <thread>
#include <unistd.h>

namespace {

// Waits, without pumping messages, until the worker has left its loop by itself.
bool EndsWithoutPumping(const TComm* worker)
{
    const auto deadline = std::chrono::steady_clock::now() + Patience;
    while (!worker->isFinished() && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return worker->isFinished();
}

// Opens the device as another program would: 0, or the errno value of the open or of
// the query; `exclusive` tells whether the device is still in exclusive mode.
int OpenPlainly(const QString& path, int& exclusive)
{
    const int fd = ::open(path.toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return errno;
    const int error = ioctl(fd, TIOCGEXCL, &exclusive) == 0 ? 0 : errno;
    ::close(fd);
    return error;
}

} // namespace

TEST_F(LinkOnPty, StartShowsTheAtrInTheResponseAndTheLog)
{
    StartAndTakeAtr();
    EXPECT_EQ(m_host.log, AtrText);
    EXPECT_EQ(m_host.lights, std::vector<bool>{true});
    EXPECT_TRUE(m_host.fakeDialogs.shown.empty());
    EXPECT_TRUE(m_simulator.waitForOpens(1, Patience));
}

TEST_F(LinkOnPty, StopClosesThePortAndTheWorkerEnds)
{
    StartAndTakeAtr();
    m_link.Stop();
    EXPECT_FALSE(m_link.Polling());
    EXPECT_EQ(m_link.Worker(), nullptr);
    EXPECT_FALSE(m_link.PortHandle()->IsOpen());
    EXPECT_TRUE(m_simulator.waitForCloses(1, Patience));
    // Released for every other user: exclusive mode outlives a close, and only root ignores it.
    int exclusive = -1;
    EXPECT_EQ(OpenPlainly(m_simulator.devicePath(), exclusive), 0);
    EXPECT_EQ(exclusive, 0);
}

TEST_F(LinkOnPty, AMissingDeviceIsReportedAndALaterStartWorks)
{
    const int descriptors = OpenDescriptors();
    m_host.portName = QStringLiteral("/dev/kestrin-no-such-device");
    m_link.Start();
    EXPECT_EQ(m_host.ErrorBoxes(), QStringList{SystemText(ENOENT)});
    EXPECT_EQ(m_host.lights, std::vector<bool>{false});
    EXPECT_FALSE(m_link.Polling());
    EXPECT_EQ(m_link.Worker(), nullptr);
    EXPECT_FALSE(m_link.PortHandle()->IsOpen());
    EXPECT_EQ(OpenDescriptors(), descriptors);

    m_host.portName = m_simulator.devicePath();
    StartAndTakeAtr();
    EXPECT_EQ(m_host.lights.back(), true);
}

TEST_F(LinkOnPty, ASecondStartReopensThePortWithoutLeakingDescriptors)
{
    StartAndTakeAtr();
    const int descriptors = OpenDescriptors();
    for (int restart = 1; restart <= 3; ++restart) {
        m_link.Start();
        EXPECT_TRUE(m_link.Polling());
        EXPECT_TRUE(m_simulator.waitForCloses(restart, Patience));
        EXPECT_TRUE(m_simulator.waitForOpens(restart + 1, Patience));
        EXPECT_EQ(OpenDescriptors(), descriptors);
    }
    EXPECT_EQ(m_host.ErrorBoxes(), QStringList{});
    m_host.response.clear();
    m_simulator.send(Bytes("90 00"));
    EXPECT_TRUE(PumpUntilResponseEnds("90 00 "));
}

TEST_F(LinkOnPty, AStartFromAHandlerWhileStartWaitsLeavesOneWorker)
{
    AtNextPass([this] { m_link.Start(); });
    m_link.Start();
    MessagePump::PumpTimes(100);
    EXPECT_TRUE(m_link.Polling());
    EXPECT_EQ(m_host.ErrorBoxes(), QStringList{});
    m_host.response.clear();
    m_simulator.send(Bytes("90 00"));
    EXPECT_TRUE(PumpUntilResponseEnds("90 00 "));
}

TEST_F(LinkOnPty, ADeviceHeldByAnotherOpenerCannotBeOpened)
{
    StartAndTakeAtr();
    SerialPort second;
    EXPECT_EQ(second.Open(m_simulator.devicePath()), EBUSY);
    EXPECT_FALSE(second.IsOpen());

    m_link.Stop();
    ASSERT_EQ(second.Open(m_simulator.devicePath()), 0);
    const int descriptors = OpenDescriptors();
    m_link.Start();
    EXPECT_EQ(OpenDescriptors(), descriptors);
    EXPECT_EQ(m_host.ErrorBoxes(), QStringList{SystemText(EBUSY)});
    EXPECT_FALSE(m_link.Polling());
    EXPECT_EQ(m_host.lights.back(), false);
}

TEST_F(LinkOnPty, ADeviceLockedByAnotherProcessCannotBeOpened)
{
    {
        LockHolder holder(m_simulator.devicePath());
        ASSERT_TRUE(holder.Locked());
        m_link.Start();
        EXPECT_EQ(m_host.ErrorBoxes(), QStringList{SystemText(EBUSY)});
        EXPECT_FALSE(m_link.Polling());
    }
    m_link.Start();
    EXPECT_TRUE(m_link.Polling());
    EXPECT_EQ(m_host.lights, (std::vector<bool>{false, true}));
}

TEST_F(LinkOnPty, AVanishedDeviceIsReportedOnceAndTheWorkerEnds)
{
    StartAndTakeAtr();
    const TComm* worker = m_link.Worker();
    m_simulator.hangUp();
    EXPECT_TRUE(EndsWithoutPumping(worker));
    ASSERT_TRUE(PumpUntil([this] { return !m_host.ErrorBoxes().isEmpty(); }));
    MessagePump::PumpTimes(1000);
    EXPECT_EQ(m_host.ErrorBoxes(), QStringList{SystemText(EIO)});
    EXPECT_FALSE(m_link.Polling());
    EXPECT_EQ(m_link.Worker(), nullptr);
    EXPECT_EQ(m_host.lights, (std::vector<bool>{true, false}));

    m_simulator.restore();
    m_host.portName = m_simulator.devicePath();
    m_host.response.clear();
    StartAndTakeAtr();
}

TEST_F(LinkOnPty, ARestartBeforeTheLostLineIsReportedKeepsTheNewLink)
{
    StartAndTakeAtr();
    const TComm* lost = m_link.Worker();
    m_simulator.hangUp();
    ASSERT_TRUE(EndsWithoutPumping(lost));
    m_simulator.restore();
    m_host.portName = m_simulator.devicePath();
    m_host.response.clear();
    m_link.Start(); // handles the old worker's report while it waits for the new one
    MessagePump::PumpTimes(1000);
    ASSERT_TRUE(m_link.Polling());
    EXPECT_EQ(m_host.lights.back(), true);
    EXPECT_TRUE(PumpUntilResponseEnds(AtrText));
}
