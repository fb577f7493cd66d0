#pragma once

#include "link/ApduCard.h"

#include <QString>
#include <QStringList>
#include <mutex>
#include <stdexcept>

// A failing PC/SC call: its result code, and pcsc-lite's text for it as what().
class PcscError : public std::runtime_error {
public:
    explicit PcscError(long code);
    long Code() const { return m_code; }

private:
    long m_code;
};

// pcsc-lite keeps one copy of the readers' states for the whole process, which
// a call on any context refills from pcscd under that context's own lock alone.
// The calls of this program that refill it (SCardListReaders, SCardStatus,
// SCardReconnect, SCardGetStatusChange) hold this lock, so the card's stream
// and the reader watch never refill it at once.
std::mutex& PcscStatesLock();

// A card in a PC/SC reader, through pcsc-lite, held exclusively while connected.
// Every call may block while pcscd works; one thread at a time. Failures throw
// PcscError; without pcscd every call fails with "Service not available.".
class PcscReader : public ApduCard {
public:
    PcscReader() = default;
    ~PcscReader() override;
    PcscReader(const PcscReader&) = delete;
    PcscReader& operator=(const PcscReader&) = delete;

    // The readers pcscd knows, in its order; empty when there are none.
    static QStringList Readers();

    // Connects to the card in `reader`, or with an empty name to the first reader
    // whose card accepts; T=0 is preferred, T=1 accepted. A connection held
    // before is ended first.
    void Connect(const QString& reader);
    // Ends the connection, resetting the card so that no one inherits what was
    // unlocked on it. Does nothing when not connected; never throws.
    void Disconnect() noexcept;
    bool IsConnected() const { return m_card != 0; }

    QString ReaderName() const { return m_readerName; }
    // 0 or 1: the protocol the connection uses.
    int Protocol() const override;
    QByteArray Atr() const;

    QByteArray Transmit(const QByteArray& command) override;
    QByteArray Reset() override;

private:
    void EstablishContext();
    void ConnectTo(const QString& reader);

    // pcsc-lite's SCARDCONTEXT, SCARDHANDLE and protocol (0 = none).
    long m_context = 0;
    long m_card = 0;
    unsigned long m_protocol = 0;
    QString m_readerName;
};
