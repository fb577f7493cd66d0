#pragma once

#include "link/ReceiveBuffer.h"
#include "link/SendQueue.h"

#include <QByteArray>
#include <QThread>
#include <atomic>
#include <chrono>

class CardPort;

// The serial worker: waits on the port and on a wake-up, so an idle link costs no
// processor time; collects received bytes, decoded from the inverse convention,
// for the window thread; writes the bytes waiting in the send queue, as many at
// a time as wait; records both as they happen. Asked to stop, it first writes
// what still waits, so every byte handed over leaves before the port closes.
class TComm : public QThread {
    Q_OBJECT
public:
    TComm(CardPort& port, ReceiveBuffer& received);
    ~TComm() override;

    // Set once the worker polls; cleared when it has left its loop.
    bool Running() const { return m_running.load(); }
    // Asks the worker to leave its loop (Terminate) and wakes it. The bytes in
    // the send queue are written first, unless the line is lost or takes none
    // for StopPatience.
    void Stop();
    // The bytes to write; those the line did not take when the worker ended are dropped.
    SendQueue& Queue() { return m_queue; }
    // The worker is inside a read or write of the port, which for a PC/SC
    // reader may take as long as the card needs for a command.
    bool InPortCall() const { return m_inPortCall.load(); }
    // Bytes wait in the send queue, which found the worker asleep.
    void Wake();

signals:
    // Bytes or events arrived in an empty receive buffer, or the window waits
    // for a write that has been made.
    void Recorded();
    void WriteFailed();
    void LineLost(int error);

protected:
    void run() override;

private:
    static constexpr std::chrono::milliseconds StopPatience{1000};

    enum class ReadResult { Data, Nothing, Lost };
    enum class WriteResult { Written, Blocked, Lost };

    bool PollOnce();
    ReadResult ReadAvailable();
    WriteResult WriteWaiting();
    void WriteWhatWaits();
    bool Writable(std::chrono::milliseconds patience);
    template <typename Call>
    ssize_t PortCall(Call call);
    void RecordSent(const quint8* bytes, qsizetype count);
    // Hands the port's notes over, with the window told as for received bytes.
    void PassNotes();
    // Lets the first `count` waiting bytes go, and tells a window that waits for it.
    void Taken(qsizetype count);
    // Tells the window thread, by a queued call, that bytes or events wait for
    // it, or a write it waited for has been made.
    void Announce();
    void DrainWake();

    CardPort& m_port;
    SendQueue m_queue;
    ReceiveBuffer& m_received;
    int m_wake = -1;
    std::atomic<bool> m_stop{false};
    std::atomic<bool> m_running{false};
    std::atomic<bool> m_inPortCall{false};
};
