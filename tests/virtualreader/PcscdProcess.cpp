#include "PcscdProcess.h"

#include <QFile>
#include <QStandardPaths>
#include <array>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <spawn.h>
#include <stdexcept>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {

using namespace std::chrono_literals;

// $0 is pcscd, $1 the configuration folder; the socket waits on descriptor 3.
// LISTEN_PID is the shell's own pid, which exec hands on to pcscd.
constexpr char StartScript[] = R"(
start='LISTEN_FDS=1 LISTEN_PID=$$ exec "$0" --foreground --debug --apdu --config "$1"'
for namespaces in "--mount" "--user --map-root-user --mount"; do
  if unshare $namespaces true 2>/dev/null; then
    exec unshare $namespaces sh -c "mount -t tmpfs kestrin-pcscd /run && $start" "$0" "$1"
  fi
done
eval "$start"
)";

QString Pcscd()
{
    const QString found = QStandardPaths::findExecutable(QStringLiteral("pcscd"), {QStringLiteral("/usr/sbin"), QStringLiteral("/sbin")});
    if (found.isEmpty())
        throw std::runtime_error("pcscd is not installed (scripts/setup.sh installs it)");
    return found;
}

int ListeningSocket(const QString& path)
{
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray name = QFile::encodeName(path);
    if (name.size() >= qsizetype(sizeof address.sun_path))
        throw std::runtime_error("socket path too long: " + name.toStdString());
    std::copy(name.begin(), name.end(), address.sun_path);
    ::unlink(name.constData());
    const int fd = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0 || bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0 || listen(fd, 64) != 0) {
        const int error = errno;
        if (fd >= 0)
            ::close(fd);
        throw std::runtime_error("cannot listen on " + name.toStdString() + ": " + strerror(error));
    }
    return fd;
}

} // namespace

PcscdProcess::PcscdProcess(const QString& socketPath, const QString& configFolder, const QString& logPath)
    : m_socketPath(socketPath), m_logPath(logPath)
{
    const QByteArray pcscd = QFile::encodeName(Pcscd());
    const QByteArray config = QFile::encodeName(configFolder);
    const int log = ::open(QFile::encodeName(logPath).constData(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    const int socket = ListeningSocket(socketPath);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, socket, 3);
    posix_spawn_file_actions_adddup2(&actions, log, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, log, STDERR_FILENO);
    std::array<const char*, 6> argv{"sh", "-c", StartScript, pcscd.constData(), config.constData(), nullptr};
    const int error = posix_spawn(&m_pid, "/bin/sh", &actions, nullptr, const_cast<char**>(argv.data()), environ);
    posix_spawn_file_actions_destroy(&actions);
    ::close(socket);
    ::close(log);
    if (error != 0) {
        m_pid = -1;
        throw std::runtime_error(std::string("cannot start pcscd: ") + strerror(error));
    }
}

PcscdProcess::~PcscdProcess()
{
    if (Running())
        ::kill(m_pid, SIGTERM);
    // pcscd ends at once on SIGTERM; a hung one must not hang the tests.
    for (int check = 0; check < 100 && Running(); ++check)
        std::this_thread::sleep_for(50ms);
    if (Running()) {
        ::kill(m_pid, SIGKILL);
        ::waitpid(m_pid, nullptr, 0);
    }
    ::unlink(QFile::encodeName(m_socketPath).constData());
}

bool PcscdProcess::Running()
{
    if (m_pid <= 0)
        return false;
    if (::waitpid(m_pid, nullptr, WNOHANG) == 0)
        return true;
    m_pid = -1;
    return false;
}

QString PcscdProcess::Log() const
{
    QFile file(m_logPath);
    return file.open(QIODevice::ReadOnly) ? QString::fromLocal8Bit(file.readAll()) : QString();
}
