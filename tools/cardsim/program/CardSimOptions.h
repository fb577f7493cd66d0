#pragma once

#include "cardsim/ReplayCard.h"

#include <QByteArray>
#include <QString>
#include <optional>

// What kestrin-cardsim's command line asks for.
struct CardSimOptions {
    // Where the card is.
    bool vpcd = false;
    quint16 port = 0; // with vpcd
    QString linkPath;
    bool echo = true;
    // Which card.
    std::optional<QByteArray> atr;
    QString profilePath;
    QString replayPath;
    ReplayCard::Options replay;
    bool strict = false;
    // Or, instead of a card: the profile that this transcript implies.
    QString profileFromPath;
};

// Exits with status 2 and a message on standard error for a wrong command line,
// and with 0 after printing the help.
CardSimOptions ParseCardSimOptions(const QStringList& arguments);

// Prints "kestrin-cardsim: MESSAGE" on standard error and exits with `status`.
[[noreturn]] void Fail(const QString& message, int status = 2);
