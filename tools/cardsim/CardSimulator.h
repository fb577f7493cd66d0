#pragma once

#include "LineOutput.h"
#include "SimulatorLoop.h"
#include "SimulatorState.h"

#include <QByteArray>
#include <QString>
#include <chrono>
#include <functional>
#include <thread>

// A card interface with an ISO 7816 card behind it (see SimCard.h), on a
// pseudo-terminal whose slave side the program opens as its serial device.
// Every byte on the line is in the inverse convention; this class's bytes
// (ATR, replies, streams, the record of received bytes) are decoded values.
// Each received line byte is echoed back at once (unless echo is off), as a
// half-duplex card interface does. Whenever the program opens the port and
// sets its line (2 stop bits, odd parity), the card is reset and sends its ATR.
// All members may be called from any thread; the simulator runs its own.
class CardSimulator {
public:
    using Logger = SimulatedCard::Logger;

    // Opens the pseudo-terminal and starts. With a link path, a symbolic link to
    // the device is made there (replacing an earlier symbolic link, never another
    // kind of file) and removed at the end. Throws std::system_error on failure.
    explicit CardSimulator(const QString& linkPath = {});
    ~CardSimulator();
    CardSimulator(const CardSimulator&) = delete;
    CardSimulator& operator=(const CardSimulator&) = delete;

    QString devicePath() const; // empty while hung up
    QString linkPath() const { return m_loop.linkPath(); }

    void setEcho(bool on);
    // A silent card takes every byte and answers none: only the echo comes back.
    void setCardSilent(bool silent);
    void setAtr(const QByteArray& atr); // sent from the next open on; SimCard::DefaultAtr() at first
    // Puts in another card (the sample card at first), reset from the next open on.
    void setCard(std::unique_ptr<T0Card> card);
    // The pace of the card's answers (the echo still goes out at once).
    void setAnswerPace(Pace pace);
    // For the sample card or a profile's: headers beginning with `header` (1 to 5
    // bytes) get `reply` right after the header in place of the card's answer;
    // the longest matching header wins.
    void setReply(const QByteArray& header, const QByteArray& reply);
    void clearReplies();
    // Told of opens, closes and every command answered, on the simulator's
    // thread with its lock held: it must not call back into the simulator.
    void setLogger(Logger logger);

    // Opens that got an ATR, and ends of such opens (a close or a hang-up).
    int opens() const;
    int closes() const;
    bool waitForOpens(int count, std::chrono::milliseconds timeout) const;
    bool waitForCloses(int count, std::chrono::milliseconds timeout) const;

    // Every byte received from the program, decoded, in order.
    QByteArray received() const;
    void clearReceived();
    bool waitForReceived(qsizetype count, std::chrono::milliseconds timeout) const;

    // Queues bytes to send after everything already queued. Bytes sent while the
    // port is not open (wait for it with waitForOpens) and any not yet sent when
    // it closes are lost, as on a line.
    void send(const QByteArray& bytes, Pace pace = {});
    // Sends `count` bytes 00 01 .. FF 00 01 ..
    void sendCount(qsizetype count, Pace pace = {});
    // True once everything queued has gone out (or been lost).
    bool waitUntilSent(std::chrono::milliseconds timeout) const;

    // Closes the simulator's side: the program's device vanishes (poll reports
    // POLLHUP, reads return 0, writes fail with EIO). Returns once done.
    void hangUp();
    // Brings a new device up after hangUp (its path may differ; the link is
    // re-pointed). Throws std::system_error on failure.
    void restore();

private:
    template <typename Done>
    bool waitFor(std::chrono::milliseconds timeout, Done done) const;
    void ask(SimulatorState::Request request);

    mutable SimulatorState m_state;
    SimulatorLoop m_loop;
    std::thread m_thread;
};
