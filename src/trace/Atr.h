#pragma once

#include "trace/TraceField.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

// One interface byte of an answer to reset: TA1 is {'A', 1, value}.
struct AtrInterfaceByte {
    char letter = 'A';    // A, B, C or D
    int group = 1;        // the i of TAi
    quint8 value = 0;
    int protocol = -1;    // the T that TD(i-1) named for this group; -1 for group 1
};

// An answer to reset, parsed as far as its bytes go (card values: an inverse-
// convention ATR starts with 3F).
struct Atr {
    static constexpr int MaxLength = 33; // TS and at most 32 more

    QByteArray bytes;
    bool complete = false;   // every byte T0 and the TDi announce is there
    int knownLength = 0;     // the length the bytes so far announce (at least that)
    QList<AtrInterfaceByte> interfaceBytes;
    QList<int> protocols;    // offered, in order, each once; T=0 when TD1 is absent
    int historicalCount = 0; // K of T0
    QByteArray historical;
    bool tckDue = false;     // a T other than 0 is offered
    quint8 checkXor = 0;     // XOR of T0 up to TCK: 00 when the check byte is right

    bool IsInverse() const { return !bytes.isEmpty() && quint8(bytes[0]) == 0x3F; }
    bool IsDirect() const { return !bytes.isEmpty() && quint8(bytes[0]) == 0x3B; }
    bool TckRight() const { return complete && tckDue && checkXor == 0; }
    const AtrInterfaceByte* Find(char letter, int group) const;
    // From TA1 (F and D of ISO 7816-3's tables); 372 and 1 when TA1 is absent,
    // 0 for a reserved value.
    int Fi() const;
    int Di() const;
};

// The values TA1 codes (ISO 7816-3's tables); 0 for a reserved one.
int FiOfTa1(quint8 ta1);
int DiOfTa1(quint8 ta1);
double MaxClockOfTa1(quint8 ta1); // MHz
// "Fi 512 Di 8 (64 clocks per bit)"; a reserved value (0) says so.
QString RateText(int fi, int di);
// The XOR of the bytes: 00 over an ATR from T0 to TCK, or a whole PPS message, when its check byte is right.
quint8 XorOf(QByteArrayView bytes);

// The bytes of an ATR, parsed as far as they go; the bytes after the last one
// the ATR announces are not part of it.
Atr ParseAtr(QByteArrayView bytes);

// One line for the trace: "ATR: inverse convention, T=0, Fi 372 Di 1 (372 clocks
// per bit), 5 historical bytes", ending in the check byte's verdict where one is due.
QString AtrSummary(const Atr& atr);

// Every byte and value for a detail view.
QList<TraceField> AtrFields(const Atr& atr);
