#pragma once

#include "PtyDevice.h"
#include "SimulatorState.h"

#include <optional>

// What crosses the line while the program has the port open: each received
// byte is echoed, recorded and fed to the card, and the card's replies and
// queued streams go out in order, each at its pace. Called with the state's
// lock held.
class LineTraffic {
public:
    using Clock = LineOutput::Clock;

    explicit LineTraffic(SimulatorState& state) : m_state(state) {}

    void receive(PtyDevice& device);
    void transmit(PtyDevice& device);
    // Drops a command left unfinished for the card's work waiting time.
    void dropStaleCommand();

    struct Wait {
        std::optional<Clock::duration> limit; // none: until something happens
        bool forRoom = false;                 // bytes are due but the line took no more
    };
    Wait nextWait(Clock::time_point now) const;

private:
    SimulatorState& m_state;
    Clock::time_point m_lastReceived;
};
