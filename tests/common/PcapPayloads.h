#pragma once

#include <QByteArray>
#include <QList>

// The payload of each record of a pcap file of upper-layer PDUs (link type 252),
// after its tags; what follows the last whole record is left out.
QList<QByteArray> PcapPayloads(const QByteArray& file);
