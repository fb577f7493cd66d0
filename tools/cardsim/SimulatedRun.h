#pragma once

#include "T0Session.h"

#include "link/LinkTimeline.h"

#include <QByteArray>

// A run of the program against the simulator's card, recorded as the card link
// records one, with no line in between: the port opens and the ATR arrives; each
// byte sent is echoed by the interface (unless echo is off) and fed to the card,
// whose answer arrives as one chunk. The clock advances one character time at
// 9600 baud per byte on the line.
class SimulatedRun {
public:
    static constexpr qint64 ByteNs = 1'250'000;

    explicit SimulatedRun(qint64 wallClockNs = 1'767'225'600'000'000'000); // 2026-01-01 UTC

    void Open(const QByteArray& atr = SimCard::DefaultAtr());
    void Close();
    // Sends bytes as a command line goes out, byte by byte.
    void Send(const QByteArray& bytes);
    void SetEcho(bool on) { m_echo = on; }
    // The card's replies for given headers (see T0Session::setReply).
    T0Session& Session() { return m_session; }
    void Wait(qint64 ns) { m_now += ns; }

    const LinkTimeline& Timeline() const { return m_timeline; }

private:
    LinkTimeline m_timeline;
    T0Session m_session;
    qint64 m_now = 1'000'000'000;
    qint64 m_wallClockNs;
    bool m_echo = true;
};
