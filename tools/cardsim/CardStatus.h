#pragma once

#include <QByteArray>
#include <QtGlobal>

// The two command classes the card accepts: 00 answers with ISO status words,
// A0 with the GSM style ones.
enum class CardClass { Iso, Gsm };

// Why a command ended as it did; each maps to one status word per class.
enum class Outcome {
    Done,             // 90 00
    ResponseWaiting,  // 61 xx / 9F xx: xx bytes for GET RESPONSE
    FileNotFound,     // 6A 82 / 94 04
    NoEfSelected,     // 69 86
    WrongStructure,   // 69 81
    OutOfRange,       // 6B 00
    RecordNotFound,   // 6A 83 / 94 02
    SecurityNotMet,   // 69 82 / 98 04
    WrongPin,         // 63 Cx (x tries left) / 98 04, or 98 40 when none is left
    PinBlocked,       // 69 83 / 98 40
    WrongLength,      // 67 00
    WrongLe,          // 6C xx / 67 xx: xx is the length to ask for
    WrongP1P2,        // 6A 86 / 6B 00
    PinNotFound,      // 6A 88 / 98 02
    UnknownClass,     // 6E 00
    UnknownIns,       // 6D 00
};

// The status word SW1 SW2 for an outcome; detail is the xx of the outcomes
// that carry a count.
QByteArray StatusWord(Outcome outcome, CardClass cardClass, quint8 detail = 0);
