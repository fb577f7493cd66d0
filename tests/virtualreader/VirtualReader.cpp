#include "VirtualReader.h"

#include "link/PcscReader.h"
#include "link/ReaderPresence.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

// Only ends a failing start; nothing is timed by it.
constexpr auto Patience = 20s;

const QString Driver = QStringLiteral("/usr/lib/pcsc/drivers/serial/libifdvpcd.so");
const QString FriendlyName = QStringLiteral("Kestrin virtual reader");

QString SocketPath()
{
    return QDir::temp().filePath(QStringLiteral("kestrin-pcscd-%1.comm").arg(getpid()));
}

// Binds the port (0: any free one); returns the port bound, or 0.
quint16 Bind(quint16 port)
{
    const int fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    socklen_t size = sizeof address;
    const bool bound = fd >= 0 && bind(fd, reinterpret_cast<const sockaddr*>(&address), size) == 0 &&
                       getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0;
    if (fd >= 0)
        ::close(fd);
    return bound ? ntohs(address.sin_port) : 0;
}

// The driver listens on its port and the next one (a reader for each).
QList<quint16> FreePortPairs(qsizetype count)
{
    QList<quint16> ports;
    for (int attempt = 0; attempt < 100 * count && ports.size() < count; ++attempt) {
        const quint16 port = Bind(0);
        const bool taken = ports.contains(port) || ports.contains(port + 1) || ports.contains(port - 1);
        if (port != 0 && port < 0xFFFF && !taken && Bind(port + 1) != 0)
            ports << port;
    }
    if (ports.size() < count)
        throw std::runtime_error("not enough pairs of free ports next to each other");
    return ports;
}

QString PairName(qsizetype pair)
{
    return pair == 0 ? FriendlyName : FriendlyName + QStringLiteral(" %1").arg(pair + 1);
}

// The driver keeps its two readers' state in the library, whatever the entry:
// each further pair of readers takes a copy of it of its own, which pcscd loads apart.
QString DriverFor(qsizetype pair, const QTemporaryDir& folder)
{
    if (!QFileInfo::exists(Driver))
        throw std::runtime_error("vsmartcard's vpcd driver is not installed (scripts/setup.sh installs it)");
    if (pair == 0)
        return Driver;
    const QString copy = folder.filePath(QStringLiteral("libifdvpcd-%1.so").arg(pair));
    if (!QFile::copy(Driver, copy))
        throw std::runtime_error("cannot copy the vpcd driver to " + copy.toStdString());
    return copy;
}

void WriteReaderConfig(const QString& path, quint16 port, const QString& name, const QString& driver)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + path.toStdString());
    file.write(QStringLiteral("FRIENDLYNAME \"%1\"\nDEVICENAME /dev/null:0x%2\nLIBPATH %3\nCHANNELID 0x%2\n")
                   .arg(name, QString::number(port, 16), driver)
                   .toUtf8());
}

qsizetype CardsPresent()
{
    try {
        return ReadersWithCard().size();
    } catch (const PcscError&) {
        return 0; // pcscd not up yet
    }
}

} // namespace

VirtualReader::VirtualReader(const QByteArray& atr) : VirtualReader(QList<QByteArray>{atr}) {}

VirtualReader::VirtualReader(const QList<QByteArray>& atrs)
{
    UsePrivateSocket();
    if (!m_folder.isValid())
        throw std::runtime_error("no temporary folder");
    const QList<quint16> ports = FreePortPairs((atrs.size() + 1) / 2);
    QDir(m_folder.path()).mkdir(QStringLiteral("readers"));
    for (qsizetype pair = 0; pair < ports.size(); ++pair)
        WriteReaderConfig(m_folder.filePath(QStringLiteral("readers/vpcd%1").arg(pair)), ports[pair], PairName(pair),
                          DriverFor(pair, m_folder));
    m_pcscd = std::make_unique<PcscdProcess>(SocketPath(), m_folder.filePath(QStringLiteral("readers")),
                                             m_folder.filePath(QStringLiteral("pcscd.log")));
    for (qsizetype index = 0; index < atrs.size(); ++index)
        m_cards.push_back(std::make_unique<VpcdSimulator>(ports[index / 2] + index % 2, atrs[index]));
    WaitForCard(true);
}

VirtualReader::~VirtualReader()
{
    m_pcscd.reset();
    m_cards.clear();
}

QString VirtualReader::ReaderName()
{
    return FriendlyName + QStringLiteral(" 00 00");
}

void VirtualReader::UsePrivateSocket()
{
    qputenv("PCSCLITE_CSOCK_NAME", QFile::encodeName(SocketPath()));
}

void VirtualReader::WaitForCard(bool present)
{
    const Clock::time_point end = Clock::now() + Patience;
    const qsizetype wanted = present ? qsizetype(m_cards.size()) : 0;
    while (Clock::now() < end && m_pcscd->Running()) {
        if (CardsPresent() == wanted)
            return;
        std::this_thread::sleep_for(10ms);
    }
    throw std::runtime_error(std::string("the virtual reader never showed the card ") + (present ? "in" : "out") +
                             "; pcscd's log:\n" + m_pcscd->Log().toStdString());
}
