#pragma once

#include <QString>
#include <sys/types.h>

// Another process holding a device's lock (flock(1) running cat) until its input
// closes. Spawned, not forked: a forked child of a threaded test is not safe.
class LockHolder {
public:
    explicit LockHolder(const QString& path);
    ~LockHolder();
    LockHolder(const LockHolder&) = delete;
    LockHolder& operator=(const LockHolder&) = delete;

    // Waits for the holder's word that it has the lock; false if it ended instead.
    bool Locked();

private:
    pid_t m_pid = -1;
    int m_input = -1;
    int m_output = -1;
};
