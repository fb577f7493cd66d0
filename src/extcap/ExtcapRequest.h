#pragma once

#include <QString>
#include <QStringList>
#include <array>

// What Wireshark asks of kestrin-extcap, as its command line says: the list of
// interfaces, an interface's link type or options, or a capture with the
// options the operator chose in Wireshark's capture dialog.
struct ExtcapRequest {
    enum class Action { Interfaces, Dlts, Config, Capture, Help, Version };
    Action action = Action::Help;
    QString interface; // --extcap-interface
    QString fifo;      // --fifo: where the capture's packets go
    QString item;      // --script: the script or data file to run
    QString baud;      // --baud
    std::array<QString, 5> parameters; // --p1 .. --p5; empty: not given
    QString promptAnswer;              // --prompt: "yes", "no", or "stop" (none)
};

// Reads the arguments after the program's name. Throws KestrinError for an
// option it does not know, a value missing, or a capture without its interface,
// fifo or item.
ExtcapRequest ParseExtcapRequest(const QStringList& arguments);

// The --help text.
QString ExtcapUsageText();
