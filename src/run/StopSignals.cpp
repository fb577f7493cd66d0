#include "run/StopSignals.h"

StopSignals::StopSignals(std::function<void(int)> stop)
{
    QObject::connect(&m_signals, &SignalNotifier::Received, std::move(stop));
}
