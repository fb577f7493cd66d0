#include "base/MessagePump.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <atomic>

namespace MessagePump {
namespace {
std::atomic<bool> g_closing{false};
}

void PumpOnce()
{
    QElapsedTimer timer;
    timer.start();
    do {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
    } while (timer.nsecsElapsed() < MinimumPass.count());
}

void PumpWhenEventArrives() { QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents); }

bool PumpTimes(qint64 passes)
{
    return PumpWhile(passes, [] { return true; });
}

bool PumpWhile(qint64 passes, const std::function<bool()>& goOn)
{
    for (qint64 pass = 0; pass < passes; ++pass) {
        if (Closing() || !goOn())
            return false;
        PumpOnce();
    }
    return !Closing();
}

void SetClosing(bool closing) { g_closing = closing; }
bool Closing() { return g_closing; }

} // namespace MessagePump
