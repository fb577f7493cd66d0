#include "base/SignalNotifier.h"

#include <QSocketNotifier>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

namespace {

int g_pipe[2] = {-1, -1};

void WriteNumber(int signalNumber)
{
    const int savedErrno = errno;
    const char number = char(signalNumber);
    [[maybe_unused]] const ssize_t written = ::write(g_pipe[1], &number, 1);
    errno = savedErrno;
}

} // namespace

SignalNotifier::SignalNotifier(std::initializer_list<int> signalNumbers, Handled handled) : m_signals(signalNumbers)
{
    if (pipe2(g_pipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return; // the signals keep their default actions
    m_notifier = std::make_unique<QSocketNotifier>(g_pipe[0], QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &SignalNotifier::ReadPipe);
    struct sigaction action = {};
    action.sa_handler = WriteNumber;
    action.sa_flags = SA_RESTART | (handled == Handled::FirstOnly ? SA_RESETHAND : 0);
    sigemptyset(&action.sa_mask);
    for (const int signalNumber : m_signals)
        sigaction(signalNumber, &action, nullptr);
}

SignalNotifier::~SignalNotifier()
{
    for (const int signalNumber : m_signals)
        std::signal(signalNumber, SIG_DFL);
    m_notifier.reset();
    for (int& end : g_pipe) {
        if (end >= 0)
            ::close(end);
        end = -1;
    }
}

void SignalNotifier::ReadPipe()
{
    char number = 0;
    while (::read(g_pipe[0], &number, 1) == 1)
        emit Received(number);
}
