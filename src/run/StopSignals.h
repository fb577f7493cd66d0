#pragma once

#include "base/SignalNotifier.h"

#include <csignal>
#include <functional>

// SIGINT and SIGTERM stop a run: `stop` is called with the signal's number on the
// main thread during a later pass, so the run ends between two bytes and cleans up
// as usual. A second signal of the same kind ends the program at once. The
// default actions come back when this object goes.
class StopSignals {
public:
    explicit StopSignals(std::function<void(int signal)> stop);

private:
    SignalNotifier m_signals{SIGINT, SIGTERM};
};
