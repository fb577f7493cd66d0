#pragma once

#include "UniqueFd.h"

#include <QByteArray>
#include <QString>

// One pseudo-terminal whose slave side the program opens as its serial device.
// Termios calls on the master act on the slave's settings, which outlive the
// slave's opens. An inotify watch on the slave's node tells of every open and
// close of it, in order, however quickly they follow one another.
class PtyDevice {
public:
    // Throws std::system_error when the pseudo-terminal cannot be made.
    PtyDevice();

    QString path() const { return m_path; }
    int master() const { return m_master.get(); }
    int watch() const { return m_watch.get(); } // readable when opens or closes are waiting

    struct OpenChanges {
        bool firstOpened = false; // someone opened the slave while nobody had it open
        bool lastClosed = false;  // the last opener closed it
    };
    // Takes the waiting open and close reports.
    OpenChanges takeOpenChanges();
    int openers() const { return m_openers; }

    // The program's setting is visible: 2 stop bits and odd parity. (The pty
    // driver clears PARENB itself, so it cannot be the sign.)
    bool configured() const;
    // Raw, one stop bit, no parity: the new device's state, which the program's
    // first setting replaces.
    bool unconfigure();

    // Everything waiting on the line; empty when nothing is (or the slave is closed).
    QByteArray read();
    // Writes what the line takes now; returns the count written.
    qsizetype write(const QByteArray& bytes);

private:
    UniqueFd m_master;
    UniqueFd m_watch;
    QString m_path;
    int m_openers = 0;
};
