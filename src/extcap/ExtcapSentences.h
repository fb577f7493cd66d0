#pragma once

#include "extcap/CaptureInterfaces.h"

#include <QString>

// The lines kestrin-extcap answers Wireshark with, one sentence a line:
// "extcap {version=...}", "interface {value=...}{display=...}", "dlt {...}",
// "arg {...}" and "value {...}". Braces inside a text become parentheses, as
// the sentences' own braces delimit the fields.
namespace ExtcapSentences {

// --extcap-interfaces: the program, then each interface.
QString Interfaces(const QString& version, const QList<CaptureInterface>& interfaces);
// --extcap-dlts: every interface's packets are upper-layer PDUs (link type 252).
QString Dlts();
// --extcap-config: the capture dialog's options, the same for every interface.
QString Config();

} // namespace ExtcapSentences
