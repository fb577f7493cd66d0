#pragma once

#include <QObject>
#include <initializer_list>
#include <memory>
#include <vector>

class QSocketNotifier;

// Hands POSIX signals to the event loop of the thread that makes it: a signal's
// handler only writes its number into a pipe, and Received follows during a later
// pass, where anything may be done. The first of each signal is handled so; it
// then finds its default action again, so a second one ends a program that no
// longer responds, unless every one is to be handled (a program that passes
// them on to others). The default actions come back when this object goes. One
// at a time in a program.
class SignalNotifier : public QObject {
    Q_OBJECT
public:
    enum class Handled { FirstOnly, Every };

    explicit SignalNotifier(std::initializer_list<int> signalNumbers, Handled handled = Handled::FirstOnly);
    ~SignalNotifier() override;

signals:
    void Received(int signalNumber);

private:
    void ReadPipe();

    std::vector<int> m_signals;
    std::unique_ptr<QSocketNotifier> m_notifier;
};
