#pragma once

#include <QByteArray>
#include <QString>

class Dialogs;

// What the card link needs from the main window.
class LinkHost {
public:
    virtual ~LinkHost() = default;

    // The device name as typed on the Setup page (COMLIST).
    virtual QString PortName() const = 0;
    // Whether a PC/SC reader gives back each byte sent, as a serial interface
    // does (the Setup page's "echo sent bytes"); read at every start.
    virtual bool EchoSentBytes() const { return true; }
    // The BYTE DELAY text, read at every pass of the byte delay.
    virtual QString ByteDelayText() const = 0;
    // Text into the Active Log at its caret.
    virtual void LogAtCaret(const QString& text) = 0;
    // The response: bytes received (card values) since the last command line.
    virtual void AppendResponse(const QByteArray& bytes) = 0;
    virtual void ClearResponse() = 0;
    // The status light: a port is open (green) or not (red).
    virtual void ShowPortOpen(bool open) = 0;
    virtual Dialogs& dialogs() = 0;
};
