#pragma once

#include "base/SignalNotifier.h"

#include <csignal>

// SIGTERM (a session ending, kill), SIGHUP (its terminal gone) and SIGINT (Ctrl+C)
// end the window program as File > Exit does: its dialogs close, then its windows,
// so a run stops, the bytes handed over go out and the port closes. A second one
// ends the program at once.
class ProgramEndSignals {
public:
    ProgramEndSignals();

    // Whether one has come, and the program is ending.
    bool Received() const { return m_received; }

private:
    SignalNotifier m_signals{SIGTERM, SIGHUP, SIGINT};
    bool m_received = false;
};
