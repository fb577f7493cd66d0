#pragma once

#include "link/ReceiveBuffer.h"

#include <QByteArray>
#include <QThread>
#include <atomic>

class CardPort;

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
// processor time; collects received bytes, decoded from the inverse convention,
// for the window thread; writes the mailbox's byte; records both as they happen.
class TComm : public QThread {
    Q_OBJECT
public:
    TComm(CardPort& port, Mailbox& mailbox, ReceiveBuffer& received);
    ~TComm() override;

    // Set once the worker polls; cleared when it has left its loop.
    bool Running() const { return m_running.load(); }
    // Asks the worker to leave its loop (Terminate) and wakes it.
    void Stop();
    // A byte waits in the mailbox.
    void Wake();

signals:
    // Bytes or events arrived in an empty receive buffer.
    void Recorded();
    void WriteFailed();
    void LineLost(int error);

protected:
    void run() override;

private:
    enum class ReadResult { Data, Nothing, Lost };
    enum class WriteResult { Written, Blocked, Lost };

    bool PollOnce();
    ReadResult ReadAvailable();
    bool WriteWhilePending();
    WriteResult WritePending();
    bool NextByteSoon() const;
    // Tells the window thread, by a queued call, that bytes or events wait for it.
    void Announce();
    void DrainWake();

    CardPort& m_port;
    Mailbox& m_mailbox;
    ReceiveBuffer& m_received;
    int m_wake = -1;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
};
