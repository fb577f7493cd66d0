#pragma once

#include "BenchHost.h"
#include "cardsim/CardSimulator.h"
#include "link/CardLink.h"

// The card link against the card simulator, with a host that shows what arrives
// as the main window does.
struct BenchLink {
    // Starts the link and waits for the card's ATR to be shown; false (said on
    // the error output) when it never is.
    bool Start();

    CardSimulator simulator;
    BenchHost host{simulator.devicePath()};
    CardLink link{host};
};
