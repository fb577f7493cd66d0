#pragma once

#include "T0Card.h"

#include <QByteArray>

// A reader's side of T=0 for one short command APDU, as a reader that takes whole
// APDUs drives a T=0 card: the header CLA INS P1 P2 P3 goes to the card (P3 = Lc
// for data in, Le for data out, 00 for neither; a case 4 APDU goes as case 3, its
// Le dropped), then the card's procedure bytes are followed: 60 waits, INS moves
// the rest of the data, INS xor FF one byte, and SW1 SW2 end the command.
// Returns the response APDU (data, SW1 SW2); 67 00 for an APDU that is not a short
// one; empty when the card falls silent or breaks the protocol, as a reader's
// timeout would. A command the card left unfinished is dropped.
QByteArray ExchangeApdu(T0Card& card, const QByteArray& apdu);
