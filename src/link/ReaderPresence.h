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

// Looks at PC/SC readers again and again through one context of its own, so
// that pcscd does not start a client of its own for every look.
class ReaderLook {
public:
    ReaderLook() = default;
    ~ReaderLook();
    ReaderLook(const ReaderLook&) = delete;
    ReaderLook& operator=(const ReaderLook&) = delete;

    // One look at each of `readers`, without waiting; a reader that has gone
    // holds no card. Throws PcscError when pcscd cannot be asked; the next look
    // asks it afresh.
    QList<ReaderPresence> Look(const QStringList& readers);

private:
    void Release();

    long m_context = 0; // pcsc-lite's SCARDCONTEXT; 0 until the first look
};

// The readers pcscd knows that hold a card, in its order. Throws PcscError.
QStringList ReadersWithCard();
