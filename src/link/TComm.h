#pragma once

#include <QByteArray>
#include <QThread>
#include <atomic>

class SerialPort;

// The one-byte send mailbox between the window thread and the worker. A byte is
// put only after the worker has taken the previous one, so none is lost or repeated.
class Mailbox {
public:
    bool Pending() const { return m_pending.load(std::memory_order_acquire); }
    void Put(quint8 byte);
    quint8 Byte() const { return m_byte.load(std::memory_order_relaxed); }
    void Taken() { m_pending.store(false, std::memory_order_release); }

private:
    std::atomic<quint8> m_byte{0};
    std::atomic<bool> m_pending{false};
};

// The serial worker: waits on the port and on a wake-up, so an idle link costs no
// processor time; hands received bytes, decoded from the inverse convention, to
// the window thread as queued values; writes the mailbox's byte.
class TComm : public QThread {
    Q_OBJECT
public:
    TComm(SerialPort& port, Mailbox& mailbox);
    ~TComm() override;

    // Set once the worker polls; cleared when it has left its loop.
    bool Running() const { return m_running.load(); }
    // Asks the worker to leave its loop (Terminate) and wakes it.
    void Stop();
    // A byte waits in the mailbox.
    void Wake();

signals:
    void Received(const QByteArray& bytes);
    void WriteFailed();
    void LineLost(int error);

protected:
    void run() override;

private:
    enum class ReadResult { Data, Nothing, Lost };

    bool PollOnce();
    ReadResult ReadAvailable();
    bool WritePending();
    void DrainWake();

    SerialPort& m_port;
    Mailbox& m_mailbox;
    int m_wake = -1;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
};
