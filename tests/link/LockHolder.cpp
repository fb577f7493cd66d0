#include "LockHolder.h"

#include <QByteArray>
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

LockHolder::LockHolder(const QString& path)
{
    int input[2], output[2];
    if (pipe2(input, O_CLOEXEC) != 0)
        return;
    if (pipe2(output, O_CLOEXEC) != 0) {
        ::close(input[0]);
        ::close(input[1]);
        return;
    }
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, input[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, output[1], STDOUT_FILENO);
    const QByteArray device = path.toLocal8Bit();
    const char* argv[] = {"flock", "--exclusive", "--nonblock", device.constData(), "-c", "echo; exec cat", nullptr};
    if (posix_spawnp(&m_pid, "flock", &actions, nullptr, const_cast<char**>(argv), environ) != 0)
        m_pid = -1;
    posix_spawn_file_actions_destroy(&actions);
    ::close(input[0]);
    ::close(output[1]);
    m_input = input[1];
    m_output = output[0];
}

LockHolder::~LockHolder()
{
    ::close(m_input); // cat ends, and flock with it
    if (m_pid > 0)
        waitpid(m_pid, nullptr, 0);
    ::close(m_output);
}

bool LockHolder::Locked()
{
    char word = 0;
    return m_pid > 0 && ::read(m_output, &word, 1) == 1;
}
