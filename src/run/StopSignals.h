#pragma once

#include <QObject>
#include <functional>
#include <memory>

class QSocketNotifier;

// SIGINT and SIGTERM stop a run. The handler only writes the signal's number
// into a pipe; the event loop reads it and calls `stop` on the main thread, so
// the run ends between two bytes and cleans up as usual. A second signal of
// the same kind ends the program at once. The default actions come back when
// this object goes.
class StopSignals : public QObject {
    Q_OBJECT
public:
    explicit StopSignals(std::function<void(int signal)> stop);
    ~StopSignals() override;

private:
    void Read();

    std::function<void(int)> m_stop;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
