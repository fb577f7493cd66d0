#pragma once

#include "extcap/ExtcapRequest.h"

#include <QString>
#include <QStringList>

// kestrin-run's arguments for a capture on `device`: its pcap stream on standard
// output, the baud rate when it is not the start's, the parameters given, the
// answer to PROMPT boxes, and the item.
QStringList RunArguments(const ExtcapRequest& request, const QString& device);

// A capture: `program` (kestrin-run) runs with `arguments` in `folder`, its
// standard output on Wireshark's fifo. Wireshark stops a capture with SIGTERM
// (a terminal's Ctrl+C gives SIGINT): kestrin-run is told, ends the run as it
// ends an interrupted one (the port closed, the last packets written), and the
// capture ends with status 0 and nothing on standard error, which Wireshark
// would show as an error. A run that fails on its own passes on its status and
// kestrin-run's lines on standard error that say why (of its last 64 KiB).
// Returns the exit status: 1 where kestrin-run could not be started or did not
// end normally.
int RunCapture(const QString& program, const QStringList& arguments, const QString& fifo, const QString& folder);
