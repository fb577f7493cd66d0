#include "BenchLink.h"

#include "base/MessagePump.h"

#include <QElapsedTimer>
#include <cstdio>

bool BenchLink::Start()
{
    link.Start();
    QElapsedTimer wall;
    wall.start();
    while (link.Polling() && host.response.isEmpty() && wall.elapsed() < 10'000)
        MessagePump::PumpOnce();
    MessagePump::PumpTimes(1000); // the rest of the ATR and the log's batch
    if (link.Polling() && !host.response.isEmpty())
        return true;
    std::fprintf(stderr, "the link did not start on %s\n", qPrintable(simulator.devicePath()));
    return false;
}
