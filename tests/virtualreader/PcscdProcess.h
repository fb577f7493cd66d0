#pragma once

#include <QString>
#include <sys/types.h>

// pcscd in the foreground with the readers of a configuration folder, serving a
// socket that this process creates and hands over as systemd would (LISTEN_FDS),
// so it never touches the system's socket. pcscd insists on making /run/pcscd
// (and writing its pid there), which only root may do unless the folder exists
// already; so it runs with an empty /run of its own in a private mount namespace
// (a user namespace too when not root) wherever the system allows one, and on
// the real /run otherwise. Its log goes to a file.
class PcscdProcess {
public:
    // Throws std::runtime_error when pcscd cannot be started.
    PcscdProcess(const QString& socketPath, const QString& configFolder, const QString& logPath);
    ~PcscdProcess();
    PcscdProcess(const PcscdProcess&) = delete;
    PcscdProcess& operator=(const PcscdProcess&) = delete;

    bool Running();
    QString Log() const;

private:
    const QString m_socketPath;
    const QString m_logPath;
    pid_t m_pid = -1;
};
