#include "main/ProgramEndSignals.h"

#include <QApplication>

ProgramEndSignals::ProgramEndSignals()
{
    QObject::connect(&m_signals, &SignalNotifier::Received, [this] {
        m_received = true;
        QApplication::closeAllWindows(); // the open dialogs first, ending their modal loops
    });
}
