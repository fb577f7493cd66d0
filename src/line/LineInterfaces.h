#pragma once

#include "base/KestrinError.h"

#include <QList>
#include <QString>
#include <QStringList>

// One card interface of a production line.
struct LineInterface {
    QString device;      // as a card's run opens it: a serial name, or "pcsc:READER"
    QString label;       // as shown: the name given, or the reader's
    QString fileName;    // what "{device}" stands for in its file names
    bool reader = false; // a PC/SC reader, which tells when a card is in it
};

// No card interface to run on, found before the line starts (exit status 3).
class NoInterface : public KestrinError {
public:
    using KestrinError::KestrinError;
};

// The interfaces that the devices of the command line name, in order: "pcsc:*"
// is every PC/SC reader holding a card (with card after card, every reader),
// "pcsc:" the first of those. Throws UsageError for an interface named twice,
// two that would share a file name, or a serial interface with card after
// card; NoInterface when pcscd offers no reader for a "pcsc:" name.
QList<LineInterface> ChooseInterfaces(const QStringList& devices, bool eachCard);
