#pragma once

#include "LineTraffic.h"
#include "PtyDevice.h"
#include "SimulatorState.h"
#include "UniqueFd.h"

#include <memory>
#include <mutex>

// The simulator's thread: waits in poll() on the device, its open/close watch and
// a wake-up eventfd, and does all the line's work with the state's lock held.
// While the program has the port open but has not configured it yet, it looks
// again every few milliseconds; otherwise it sleeps until something happens or
// a paced byte falls due.
class SimulatorLoop {
public:
    // Makes the device (and the link, if a path is given); throws std::system_error.
    SimulatorLoop(SimulatorState& state, QString linkPath);
    ~SimulatorLoop();

    void run();
    void wake();
    QString linkPath() const { return m_linkPath; }

private:
    enum class Line { Idle, Opening, Online };

    void waitForEvents(std::unique_lock<std::mutex>& lock);
    void serveRequest();
    void followOpens();
    void goOnline();
    void endSession();
    void hangUp();
    void restore();
    void makeDevice();

    SimulatorState& m_state;
    const QString m_linkPath;
    UniqueFd m_wake;
    std::unique_ptr<PtyDevice> m_device;
    Line m_line = Line::Idle;
    LineTraffic m_traffic{m_state};
};
