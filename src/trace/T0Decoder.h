#pragma once

#include "link/LinkTimeline.h"
#include "trace/T0Reading.h"

#include <optional>

// Decodes the T=0 traffic of a card link, event by event (see T0Reading). Whether
// the interface echoes bytes sent shows in its first answer after a send: a byte
// that is no echo of the oldest one sent means it does not. Where that byte could
// be both the echo and the card's answer (a NULL byte 60 after a class 60, a PPS
// response that repeats its request), the decoder reads on both ways until the
// traffic tells them apart: the reading that meets fewer faults stays, and the
// echo where they meet as many when the port closes or the trace ends. The rows
// depend on the events alone.
class T0Decoder {
public:
    using Owed = T0Reading::Owed;

    void Add(const LinkEvent& event);
    // What the other side still owes the program; while the echo is in doubt,
    // what either reading says it owes.
    Owed Owes() const;
    // The rows so far; the last rows and those of commands under way may still change.
    const Trace& Current() const { return m_reading.Current(); }
    // The first row that may still change (T0Reading::FirstUnsettledRow); while
    // the echo is in doubt, the first that was unsettled when the doubt arose.
    qint32 FirstUnsettledRow() const;
    // When the exchanges and marks of the rows so far happened.
    const TraceTiming& Timing() const { return m_reading.Timing(); }
    // Counts the times the rows so far were replaced by those of the other reading.
    int Rereads() const { return m_rereads; }
    // Ends what is under way (an ATR cut short, an exchange without status word).
    Trace Finish();

private:
    void Decode(const LinkEvent& event);
    void Receive(qint64 timeNs, quint8 byte);
    // Keeps the reading with fewer faults once they differ; `final` keeps the echo's on a tie.
    void Settle(bool final);

    T0Reading m_reading;                      // the reading shown
    std::optional<T0Reading> m_silentReading; // while the echo is in doubt: the one without
    qint32 m_doubtFrom = 0; // the rows before it are the same in both readings
    int m_rereads = 0;
};

// The trace of a whole timeline.
Trace DecodeT0(const LinkTimeline& timeline);
