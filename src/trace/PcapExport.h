#pragma once

#include "link/LinkTimeline.h"
#include "trace/Trace.h"

#include <QByteArray>
#include <QString>

// A trace as a pcap file that Wireshark decodes with no preferences set: link
// type 252 (upper-layer PDUs), each packet led by tags naming its dissector and
// direction. ATRs go to "iso7816" from the card; a class A0 exchange with its
// status word is one "gsm_sim" packet (header, data, status word); any other
// exchange is an "iso7816" command and response. Every other byte of the traffic
// (echo, procedure and NULL bytes, unrecognised bytes, PPS messages, headers cut
// short) goes to "data" in a packet of its own, whose Protocol column says what
// it is. Packet times are the wall-clock times of their first bytes.
QByteArray PcapFile(const Trace& trace);

// What a pcap file begins with: microsecond times, link type 252.
QByteArray PcapFileHeader();

// The records of a trace's packets, row after row: each packet is made at the
// row of its first byte, so they come in time order. Rows are taken in order,
// each once, and only once nothing can change them or what they belong to.
class PcapRecords {
public:
    // The records of rows [from, to), which follow the rows taken before.
    QByteArray Rows(const Trace& trace, qsizetype from, qsizetype to);

private:
    void AddRow(QByteArray& records, const Trace& trace, qsizetype index);

    qint64 m_openWallNs = 0; // of the open the rows follow
    qint32 m_lastAtr = -1;
    qint32 m_lastResponse = -1;
};

// Writes PcapFile of the decoded timeline to `path`. Throws FileError.
void SavePcap(const QString& path, const LinkTimeline& timeline);
