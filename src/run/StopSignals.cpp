#include "run/StopSignals.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};
constexpr int StopSignalList[] = {SIGINT, SIGTERM};

void WriteSignal(int signal)
{
    const int savedErrno = errno;
    const char number = char(signal);
    [[maybe_unused]] const ssize_t written = write(g_pipe[1], &number, 1);
    errno = savedErrno;
}

} // namespace

StopSignals::StopSignals(std::function<void(int)> stop) : m_stop(std::move(stop))
{
    if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // without the pipe the signals keep their default action
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &StopSignals::Read);
    struct sigaction action = {};
    action.sa_handler = WriteSignal;
    action.sa_flags = SA_RESETHAND | SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (const int signal : StopSignalList)
        sigaction(signal, &action, nullptr);
}

StopSignals::~StopSignals()
{
    for (const int signal : StopSignalList)
        std::signal(signal, SIG_DFL);
    m_notifier.reset();
    for (int& end : g_pipe) {
        if (end >= 0)
            close(end);
        end = -1;
    }
}

void StopSignals::Read()
{
    char number = 0;
    while (read(g_pipe[0], &number, 1) == 1)
        m_stop(number);
}
