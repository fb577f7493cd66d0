#pragma once

#include <QByteArray>
#include <QString>
#include <atomic>
#include <functional>
#include <thread>

// Watches a PC/SC reader from a thread of its own while a connection to its card
// is held, and tells once of the card leaving the reader, the reader going or
// pcscd stopping, with the PC/SC result code that names it. Ends when destroyed.
class ReaderWatch {
public:
    // Called on the watching thread, at most once.
    using Report = std::function<void(long code)>;

    // Throws PcscError when pcscd cannot be reached.
    ReaderWatch(const QString& reader, Report report);
    ~ReaderWatch();
    ReaderWatch(const ReaderWatch&) = delete;
    ReaderWatch& operator=(const ReaderWatch&) = delete;

private:
    void Run();
    // The code for the reader's state, or 0 while the card is there.
    static long Loss(unsigned long state);

    const QByteArray m_reader;
    const Report m_report;
    long m_context = 0; // pcsc-lite's SCARDCONTEXT, for this thread alone
    std::atomic<bool> m_stop{false};
    std::thread m_thread;
};
