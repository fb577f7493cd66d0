#pragma once

#include <QString>

// kestrin-run's exit statuses.
enum class ExitStatus {
    Done = 0,
    Differs = 1,     // the transcript differs from --check
    Usage = 2,       // a wrong command line, or a named file that cannot be read or written
    LinkFailed = 3,  // the card interface could not be opened or was lost
    Error = 4,       // the run ended on an error
    NoAnswer = 5,    // an answer was needed and none could be had
    NotSent = 6,     // bytes sent never reached the card (a PC/SC reader did not pass them on)
    CardSilent = 7,  // the card owed an answer and gave none within --answer-timeout
    TimedOut = 124,
    Interrupted = 130,
};

// The first reason that ends a run early. Stopping says why on standard error
// and sets the message pump's closing state, so every wait ends and every run
// of the engine stops at its next check; later reasons are not looked at.
class RunStop {
public:
    void Stop(ExitStatus status, const QString& why);
    bool Stopped() const { return m_status != ExitStatus::Done; }
    ExitStatus Status() const { return m_status; }
    QString Why() const { return m_why; }

private:
    ExitStatus m_status = ExitStatus::Done;
    QString m_why;
};
