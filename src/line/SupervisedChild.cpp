#include "line/SupervisedChild.h"

#include <QProcess>
#include <csignal>
#include <fcntl.h>
#include <sys/prctl.h>
#include <unistd.h>

void SuperviseChild(QProcess& process, int kept)
{
    const pid_t supervisor = getpid();
    // Between fork and exec: async-signal-safe calls only.
    process.setChildProcessModifier([kept, supervisor] {
        fcntl(kept, F_SETFD, 0);
        setpgid(0, 0);
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (getppid() != supervisor) // it died before the line above
            _exit(int(128 + SIGTERM));
    });
}
