#include "VirtualReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <chrono>
#include <netinet/in.h>
#include <stdexcept>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>
#include <winscard.h>

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
quint16 FreePortPair()
{
    for (int attempt = 0; attempt < 100; ++attempt) {
        const quint16 port = Bind(0);
        if (port != 0 && port < 0xFFFF && Bind(port + 1) != 0)
            return port;
    }
    throw std::runtime_error("no two free ports next to each other");
}

void WriteReaderConfig(const QString& path, quint16 port)
{
    if (!QFileInfo::exists(Driver))
        throw std::runtime_error("vsmartcard's vpcd driver is not installed (scripts/setup.sh installs it)");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        throw std::runtime_error("cannot write " + path.toStdString());
    file.write(QStringLiteral("FRIENDLYNAME \"%1\"\nDEVICENAME /dev/null:0x%2\nLIBPATH %3\nCHANNELID 0x%2\n")
                   .arg(FriendlyName, QString::number(port, 16), Driver)
                   .toUtf8());
}

bool CardPresent()
{
    SCARDCONTEXT context = 0;
    if (SCardEstablishContext(SCARD_SCOPE_SYSTEM, nullptr, nullptr, &context) != SCARD_S_SUCCESS)
        return false;
    const QByteArray name = VirtualReader::ReaderName().toUtf8();
    SCARD_READERSTATE state{};
    state.szReader = name.constData();
    state.dwCurrentState = SCARD_STATE_UNAWARE;
    const bool present = SCardGetStatusChange(context, 0, &state, 1) == SCARD_S_SUCCESS &&
                         (state.dwEventState & SCARD_STATE_PRESENT);
    SCardReleaseContext(context);
    return present;
}

} // namespace

VirtualReader::VirtualReader(const QByteArray& atr)
{
    UsePrivateSocket();
    if (!m_folder.isValid())
        throw std::runtime_error("no temporary folder");
    const quint16 port = FreePortPair();
    QDir(m_folder.path()).mkdir(QStringLiteral("readers"));
    WriteReaderConfig(m_folder.filePath(QStringLiteral("readers/vpcd")), port);
    m_pcscd = std::make_unique<PcscdProcess>(SocketPath(), m_folder.filePath(QStringLiteral("readers")),
                                             m_folder.filePath(QStringLiteral("pcscd.log")));
    m_card = std::make_unique<VpcdSimulator>(port, atr);
    WaitForCard(true);
}

VirtualReader::~VirtualReader()
{
    m_pcscd.reset();
    m_card.reset();
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
    while (Clock::now() < end && m_pcscd->Running()) {
        if ((!present || m_card->waitForConnections(1, 100ms)) && CardPresent() == present)
            return;
        std::this_thread::sleep_for(10ms);
    }
    throw std::runtime_error(std::string("the virtual reader never showed the card ") + (present ? "in" : "out") +
                             "; pcscd's log:\n" + m_pcscd->Log().toStdString());
}
