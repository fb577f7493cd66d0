#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QSocketNotifier;

// The pipe on which one card's run writes its status lines (--status-fd) and
// its supervisor reads them. The writing end is closed on exec, so another run
// started meanwhile does not hold it open; the run it belongs to keeps it
// (SupervisedChild). Line follows for every whole line read.
class StatusChannel : public QObject {
    Q_OBJECT
public:
    // Throws KestrinError when the system gives no pipe.
    StatusChannel();
    ~StatusChannel() override;

    int WritingEnd() const { return m_write; }
    // Once the run has started with its own copy.
    void CloseWritingEnd();
    // Reads what has come (at the run's end: all that is left).
    void ReadAll();

signals:
    void Line(const QString& line);

private:
    int m_read = -1;
    int m_write = -1;
    QByteArray m_open; // the start of a line still to come
    std::unique_ptr<QSocketNotifier> m_notifier;
};
