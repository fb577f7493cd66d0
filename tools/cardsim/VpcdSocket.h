#pragma once

#include "UniqueFd.h"

#include <QByteArray>
#include <QtGlobal>

// The simulator's end of its TCP connection to vpcd. vpcd writes a message's
// length and its bytes in two writes; with Nagle's algorithm on its side the
// second waits for our acknowledgement of the first, which a delayed
// acknowledgement holds for about 40 ms. So the connection acknowledges at
// once and sends without delay. Linux turns quick acknowledgements off again
// when we answer soon after receiving, so every send asks for them anew.
namespace VpcdSocket {

// A connection to the local host's port; an invalid fd when nobody listens.
UniqueFd Connect(quint16 port);
// Sends all of `bytes`; false when the connection broke.
bool Send(int fd, const QByteArray& bytes);

} // namespace VpcdSocket
