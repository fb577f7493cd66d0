#pragma once

#include <QString>

// What the operator is told when the card interface fails, in the system's
// words and naming the device that was tried.
enum class LinkTrouble {
    NotOpened,  // the start could not open it
    Lost,       // it went away while the link polled
    LineChange, // a baud rate or line function was refused
};

// "The card interface /dev/ttyS8 (COM9) could not be opened (no such file or
// directory)." for the device as typed on the Setup page and the system's text
// for the error.
QString LinkTroubleText(const QString& portName, LinkTrouble trouble, const QString& systemText);

// The status label once the card interface has closed by itself.
QString LinkClosedStatus();
