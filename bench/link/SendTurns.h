#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>

class CardLink;
class CardSimulator;

// One send of a block of bytes with BYTE DELAY 0, per byte sent.
struct SendTurn {
    double wallUs = 0;     // until the send returned
    double lineWallUs = 0; // until the card had every byte
    double cpuUs = 0;      // the process's processor time until the card had every byte
    QMap<QString, double> threadUs; // the same by thread name
    bool complete = false; // every byte arrived once, in order
};

// Sends `bytes` (card values) through the link and follows them to the card.
// The window thread's message pump settles first, so the last turn's echo is
// no part of this one.
SendTurn SendOnce(CardSimulator& simulator, CardLink& link, const QByteArray& bytes);
