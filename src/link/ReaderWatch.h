#pragma once

#include <QByteArray>
#include <QString>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <thread>

// Watches a PC/SC reader from a thread of its own while a connection to its card
// is held, and tells once of the card leaving the reader, the reader going or
// pcscd stopping, with the PC/SC result code that names it. It looks at the
// reader's state every PollInterval, each look under PcscStatesLock, rather than
// waiting inside pcsc-lite for a change: pcsc-lite refills its copy of the states
// throughout such a wait. Ends when destroyed.
class ReaderWatch {
public:
    // Called on the watching thread, at most once.
    using Report = std::function<void(long code)>;

    static constexpr std::chrono::milliseconds PollInterval{100};

    // Throws PcscError when pcscd cannot be reached.
    ReaderWatch(const QString& reader, Report report);
    ~ReaderWatch();
    ReaderWatch(const ReaderWatch&) = delete;
    ReaderWatch& operator=(const ReaderWatch&) = delete;

private:
    void Run();
    // Waits until the next look is due; false once the watch is to end.
    bool Pause();
    bool Stopping();

    const QByteArray m_reader;
    const Report m_report;
    long m_context = 0; // pcsc-lite's SCARDCONTEXT, for this thread alone
    std::mutex m_stopLock;
    std::condition_variable m_stopped;
    bool m_stop = false;
    std::thread m_thread;
};
