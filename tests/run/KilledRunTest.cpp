// A program that dies holding the card interface (SIGKILL, a crash) leaves nothing
// of itself on the device: the kernel drops its lock, and every user may open it.
#include "RunFixture.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <sys/ioctl.h>
#include <unistd.h>

TEST_F(RunTest, KilledWhileHoldingTheDeviceItLeavesItFreeForEveryUser)
{
    writeFile("hold.scr", "SEND('00')\r\nWAIT(\"999999999\")\r\n");
    const auto process = start({"hold.scr"});
    ASSERT_TRUE(m_simulator.waitForReceived(1, std::chrono::seconds(30)));
    ::kill(pid_t(process->processId()), SIGKILL);
    finish(*process);

    const int fd = ::open(m_simulator.devicePath().toLocal8Bit().constData(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    ASSERT_GE(fd, 0) << std::strerror(errno);
    int exclusive = -1; // exclusive mode outlives its setter, and only root opens such a device
    EXPECT_EQ(ioctl(fd, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);
    ::close(fd);
}
