#pragma once

#include "run/ProtocolWatch.h"

#include <chrono>

// How a run waits for the card after a start or after sending: on the protocol,
// not on silence alone. While something is owed (bytes not yet written, the
// rest of an ATR, the answer to a command) it waits as long as the link shows
// news within the answer timeout: every byte, a NULL byte (60) among them,
// and every moment the port is busy with the card start it again. Once nothing
// is owed it waits for the idle time of silence; after a start a complete ATR
// ends the wait at once.
class CardWait {
public:
    enum class End { Settled, NoAnswer, Closing };

    CardWait(CardLink& link, std::chrono::milliseconds idle, std::chrono::milliseconds answerTimeout)
        : m_link(link), m_watch(link), m_idle(idle), m_answerTimeout(answerTimeout)
    {
    }

    End AfterStart() { return Wait(true); }
    End AfterSending() { return Wait(false); }

    // The card still owes something, as far as the link's events so far show.
    bool CardOwes();
    QString OwedText() const { return m_watch.OwedText(); }
    // The card's answer to reset once it is complete, else empty.
    QByteArray Atr() const { return m_watch.Atr(); }

private:
    End Wait(bool endOnAtr);
    End WaitOnProtocol(bool endOnAtr);

    CardLink& m_link;
    ProtocolWatch m_watch;
    const std::chrono::milliseconds m_idle;
    const std::chrono::milliseconds m_answerTimeout;
};
