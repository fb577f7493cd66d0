#include "VpcdSocket.h"

#include <algorithm>
#include <arpa/inet.h>
#include <cerrno>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <sys/socket.h>

namespace VpcdSocket {

namespace {

void SetOption(int fd, int option)
{
    const int on = 1;
    setsockopt(fd, IPPROTO_TCP, option, &on, sizeof on);
}

void AcknowledgeAtOnce(int fd)
{
    SetOption(fd, TCP_QUICKACK);
}

} // namespace

UniqueFd Connect(quint16 port)
{
    UniqueFd fd(socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_port = htons(port);
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (fd.get() < 0 || ::connect(fd.get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0)
        return UniqueFd();
    SetOption(fd.get(), TCP_NODELAY);
    AcknowledgeAtOnce(fd.get());
    return fd;
}

bool Send(int fd, const QByteArray& bytes)
{
    for (qsizetype done = 0; done < bytes.size();) {
        const ssize_t written = ::send(fd, bytes.constData() + done, size_t(bytes.size() - done), MSG_NOSIGNAL);
        if (written < 0 && errno != EINTR)
            return false;
        done += std::max<ssize_t>(written, 0);
    }
    AcknowledgeAtOnce(fd);
    return true;
}

} // namespace VpcdSocket
