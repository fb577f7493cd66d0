#include "SendTurns.h"

#include "base/MessagePump.h"
#include "cardsim/CardSimulator.h"
#include "common/ProcessFigures.h"
#include "link/CardLink.h"

#include <QElapsedTimer>
#include <chrono>

SendTurn SendOnce(CardSimulator& simulator, CardLink& link, const QByteArray& bytes)
{
    MessagePump::PumpTimes(2000);
    simulator.clearReceived();
    const double count = double(bytes.size());
    SendTurn turn;
    const QMap<QString, double> threadsBefore = ThreadCpuSecondsByName();
    const double cpuBefore = ProcessCpuSeconds();
    QElapsedTimer wall;
    wall.start();
    link.SendBytes(bytes);
    turn.wallUs = double(wall.nsecsElapsed()) / 1e3 / count;
    turn.complete = simulator.waitForReceived(bytes.size(), std::chrono::seconds(30));
    turn.lineWallUs = double(wall.nsecsElapsed()) / 1e3 / count;
    turn.cpuUs = (ProcessCpuSeconds() - cpuBefore) * 1e6 / count;
    const QMap<QString, double> threadsAfter = ThreadCpuSecondsByName();
    for (auto thread = threadsAfter.cbegin(); thread != threadsAfter.cend(); ++thread)
        turn.threadUs[thread.key()] = (thread.value() - threadsBefore.value(thread.key())) * 1e6 / count;
    turn.complete = turn.complete && simulator.received() == bytes;
    return turn;
}
