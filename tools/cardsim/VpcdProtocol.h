#pragma once

#include "SimulatedCard.h"

#include <QByteArray>
#include <QtGlobal>
#include <optional>

// The protocol of vsmartcard's virtual reader driver (vpcd) with a virtual card:
// every message is a 16-bit big-endian length and that many bytes. From the
// reader, a one-byte message is a control (below) and anything longer a command
// APDU, which the card answers with the response APDU.
namespace Vpcd {

constexpr quint16 kDefaultPort = 35963;

enum Control : quint8 { PowerOff = 0, PowerOn = 1, Reset = 2, AnswerToReset = 4 };

// Takes one whole message off the front of `buffer` once all of it has arrived.
std::optional<QByteArray> TakeMessage(QByteArray& buffer);
// A message as it goes on the connection; payloads longer than 65535 bytes are cut.
QByteArray Frame(const QByteArray& payload);
// What the card answers a message from the reader; nothing for controls other
// than the request for the answer to reset.
std::optional<QByteArray> Answer(SimulatedCard& card, const QByteArray& message);

} // namespace Vpcd
