#pragma once

#include "cardsim/T0Card.h"

#include <QByteArray>

// Feeds bytes to a card one at a time, as the line brings them, and returns
// everything it sent back.
inline QByteArray Feed(T0Card& card, const QByteArray& bytes)
{
    QByteArray reply;
    for (const char byte : bytes)
        reply += card.feed(quint8(byte));
    return reply;
}

// The same for a command line of hexadecimal bytes, the reply as hexadecimal text.
inline QByteArray FeedHex(T0Card& card, const char* command)
{
    return Feed(card, QByteArray::fromHex(command)).toHex(' ').toUpper();
}
