#include "widgets/ProgramLauncher.h"

#include "base/MessagePump.h"

#include <QPointer>
#include <QProcess>
#include <chrono>

namespace {
constexpr std::chrono::milliseconds StartWait{1000};
} // namespace

bool LaunchAndWait(const QString& program)
{
    // The process owns itself: if the program closes while it runs, it is left
    // running and frees itself when it ends.
    auto* process = new QProcess;
    process->setProcessChannelMode(QProcess::ForwardedChannels);
    process->setInputChannelMode(QProcess::ForwardedInputChannel);
    QObject::connect(process, &QProcess::finished, process, &QObject::deleteLater);
    process->start(program, QStringList());
    if (!process->waitForStarted(static_cast<int>(StartWait.count()))) {
        delete process;
        return false;
    }
    const QPointer<QProcess> running(process);
    while (running && running->state() != QProcess::NotRunning && !MessagePump::Closing())
        MessagePump::PumpOnce();
    if (running && running->state() == QProcess::NotRunning)
        delete running.data();
    return true;
}
