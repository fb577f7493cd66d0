#include "LinkOnPty.h"

#include "base/MessagePump.h"

#include <QDir>
#include <QTimer>
#include <cstring>

LinkOnPty::LinkOnPty() { m_host.portName = m_simulator.devicePath(); }

LinkOnPty::~LinkOnPty() { MessagePump::SetClosing(false); }

bool LinkOnPty::PumpUntil(const std::function<bool()>& done)
{
    const auto deadline = std::chrono::steady_clock::now() + Patience;
    while (!done()) {
        if (std::chrono::steady_clock::now() > deadline)
            return false;
        MessagePump::PumpOnce();
    }
    return true;
}

void LinkOnPty::StartAndTakeAtr()
{
    m_link.Start();
    ASSERT_TRUE(m_link.Polling());
    ASSERT_TRUE(PumpUntil([this] { return m_host.response.size() >= AtrText.size(); }));
    ASSERT_EQ(m_host.response, AtrText);
}

bool LinkOnPty::PumpUntilResponseEnds(const QString& text)
{
    return PumpUntil([&] { return m_host.response.endsWith(text); });
}

QByteArray LinkOnPty::ReceivedOnceThere(qsizetype count)
{
    EXPECT_TRUE(m_simulator.waitForReceived(count, Patience));
    return m_simulator.received();
}

int OpenDescriptors()
{
    return int(QDir(QStringLiteral("/proc/self/fd")).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size());
}

void AtNextPass(std::function<void()> action) { QTimer::singleShot(0, std::move(action)); }

QString SystemText(int error) { return QString::fromLocal8Bit(std::strerror(error)); }

QByteArray Bytes(const char* hex) { return QByteArray::fromHex(hex); }
