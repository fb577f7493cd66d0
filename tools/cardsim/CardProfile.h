#pragma once

#include "CardFiles.h"

#include <QByteArray>
#include <QMap>
#include <vector>

struct CardPin {
    quint8 number = 1; // VERIFY's P2
    QByteArray value;  // P3 is its length
    int tries = 3;
    bool operator==(const CardPin&) const = default;
};

// Everything that makes one simulated card: by default the sample card (see
// SimCard.h), which the sample profile file describes too.
struct CardProfile {
    static QByteArray DefaultAtr();

    QByteArray atr = DefaultAtr();
    std::vector<CardFile> files = DefaultCardFiles();
    std::vector<CardPin> pins = {{1, QByteArray::fromHex("31 32 33 34 FF FF FF FF"), 3}};
    // Headers (1 to 5 bytes) and what the card sends after them in place of its
    // own answer, as T0Session::setReply takes them.
    QMap<QByteArray, QByteArray> answers;
    int answerBaud = 0; // the card's answers go out at this rate; 0: at once
    bool operator==(const CardProfile&) const = default;
};
