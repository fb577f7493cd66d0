#pragma once

#include "trace/T0Decoder.h"

#include <QString>

class CardLink;

// What the card still owes a run, as far as the link's traffic shows: the rest
// of an ATR it has begun, or the answer to a command (T0Decoder::Owes).
class ProtocolWatch {
public:
    explicit ProtocolWatch(CardLink& link) : m_link(link) {}

    // Decodes the link's events recorded since the last call; true when there were any.
    bool Follow();
    bool CardOwes() const { return m_decoder.Owes() != T0Decoder::Owed::Nothing; }
    // The card has given an ATR, all of it.
    bool AtrComplete() const;
    // That answer to reset; empty until it is complete.
    QByteArray Atr() const;
    // What is owed, for the operator: "the answer to 00 B0 00 00 02 (READ BINARY)".
    QString OwedText() const;

private:
    QString AnswerText() const;

    CardLink& m_link;
    T0Decoder m_decoder;
    qsizetype m_followed = 0; // the timeline's events decoded
};
