#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// Whether a PC/SC reader holds a card, and how many times a card has come into
// it or left it (pcsc-lite's event count): a card taken out and put back
// between two looks is still a new card.
struct ReaderPresence {
    bool cardPresent = false;
    int cardEvents = 0;
};

// One look at each of `readers`, without waiting; a reader that has gone holds
// no card. Throws PcscError when pcscd cannot be asked.
QList<ReaderPresence> LookAtReaders(const QStringList& readers);

// The readers pcscd knows that hold a card, in its order. Throws PcscError.
QStringList ReadersWithCard();
