#pragma once

#include <QByteArray>

// A card reached a whole command at a time, as a PC/SC reader reaches its card.
// Failures throw (PcscError for a PC/SC reader).
class ApduCard {
public:
    virtual ~ApduCard() = default;

    // Sends a command APDU; returns the response APDU (data, then SW1 SW2).
    virtual QByteArray Transmit(const QByteArray& command) = 0;
    // Warm reset; returns the card's new answer to reset.
    virtual QByteArray Reset() = 0;
    // 0 or 1: the transmission protocol the card works in.
    virtual int Protocol() const = 0;
};
