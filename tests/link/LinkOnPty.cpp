#include "LinkOnPty.h"

#include "base/MessagePump.h"
#include "base/ProgramMessages.h"

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

QString SystemText(int error) { return ProgramMessages::AsClause(QString::fromLocal8Bit(std::strerror(error))); }

QByteArray Bytes(const char* hex) { return QByteArray::fromHex(hex); }

QStringList TimelineTexts(const LinkTimeline& timeline, qsizetype first, bool withReceived)
{
    QStringList texts;
    QByteArray sent;
    QByteArray received;
    const auto endTraffic = [&] {
        QStringList traffic;
        if (!sent.isEmpty())
            traffic << "out " + sent.toHex(' ');
        if (!received.isEmpty() && withReceived)
            traffic << "in " + received.toHex(' ');
        if (!traffic.isEmpty())
            texts << traffic.join(' ');
        sent.clear();
        received.clear();
    };
    qint64 lastTime = 0;
    for (qsizetype i = first; i < timeline.Size(); ++i) {
        const LinkEvent event = timeline.At(i);
        EXPECT_GE(event.timeNs, lastTime) << "event " << i;
        lastTime = event.timeNs;
        switch (event.kind) {
        case LinkEventKind::Sent: sent += event.bytes.toByteArray(); break;
        case LinkEventKind::Received: received += event.bytes.toByteArray(); break;
        case LinkEventKind::Opened: endTraffic(); texts << "open"; break;
        case LinkEventKind::Closed: endTraffic(); texts << "close"; break;
        case LinkEventKind::BaudChanged: endTraffic(); texts << "baud " + QString::number(event.value); break;
        case LinkEventKind::LineControl: endTraffic(); texts << "line " + QString::number(event.value); break;
        case LinkEventKind::ReaderNote: endTraffic(); texts << "note " + event.bytes.toByteArray().toHex(' '); break;
        }
    }
    endTraffic();
    return texts;
}
