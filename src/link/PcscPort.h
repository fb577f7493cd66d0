#pragma once

#include "link/CardPort.h"
#include "link/PcscReader.h"
#include "link/T0Emulation.h"

#include <QByteArray>
#include <memory>
#include <mutex>
#include <optional>

class ReaderWatch;

// A PC/SC reader as a card interface: the card's T=0 byte stream as a serial
// interface gives it (T0Emulation), in the line's inverse convention. The ATR
// is the first thing to read. The descriptor is a timer that is due whenever
// bytes wait, a command is complete or the card has gone, and at the moment an
// unknown instruction's wait ends. The PC/SC calls of the byte stream are made
// by Read and Write (the link's worker), a Read only once the bytes before are
// taken, so the echo of a command's last byte comes before the card's answer as
// on a serial line. A line function from the window thread is carried out in
// the call, after what is due, as a serial driver sets its lines at once.
// Baud rates and line functions leave the reader as it is, but for RTS raised
// and then lowered, which resets the card (warm reset, the new ATR to read).
// Write stops after the byte that completes a command, and writes nothing while
// bytes wait to be read, so each answer is read as soon as the card has given it.
// The stream's notes (guesses and bytes not passed on) wait in turn, and the
// descriptor is due while they do.
// Every PC/SC failure ends the connection: Read gives what arrived before it,
// then fails with EIO, for which ErrorText gives pcsc-lite's text.
class PcscPort : public CardPort {
public:
    PcscPort();
    ~PcscPort() override;
    PcscPort(const PcscPort&) = delete;
    PcscPort& operator=(const PcscPort&) = delete;

    // Connects to the card in `reader` (empty: the first reader with a card); 0
    // or EIO. With `echo`, each byte sent is read back first, as a half-duplex
    // interface gives it.
    int Open(const QString& reader, bool echo);

    void Close() override;
    bool IsOpen() const override;
    int Descriptor() const override;
    int SetNonBlocking() override { return 0; }
    int ReadLineSettings() override { return 0; }
    int SetBaudRate(int) override { return 0; }
    int LineControl(LineFunction function) override;
    ssize_t Read(char* buffer, size_t size) override;
    ssize_t Write(const quint8* bytes, size_t count) override;
    QString ErrorText(int error) const override;
    bool HasSerialLine() const override { return false; }
    QList<ReaderNote> TakeNotes() override;

private:
    // Runs one step of the byte stream; a failure is kept and ends the stream.
    template <typename Step>
    void Run(Step step);
    void CatchUp();
    // Tells the worker, through the timer, what waits (bytes, notes, the stream's
    // next deadline); true once the stream has failed.
    bool Publish();
    void Fail(long code);
    // Sets the timer for what waits; called with m_lock held.
    void Arm();

    // The byte stream, used by one thread at a time (the worker, and the window
    // thread for a line function).
    std::mutex m_streamLock;
    PcscReader m_reader;
    T0Emulation m_stream{m_reader};
    QByteArray m_readable; // line bytes ready to read
    QList<ReaderNote> m_notes;
    std::unique_ptr<ReaderWatch> m_watch;

    // What the window thread and the watch hand to the worker.
    mutable std::mutex m_lock;
    long m_failure = 0;
    bool m_somethingWaits = false;
    std::optional<T0Emulation::Clock::time_point> m_deadline;
    int m_timer = -1;
};
