#pragma once

#include "link/LineFunction.h"
#include "link/ReaderNote.h"

#include <QList>
#include <QString>
#include <sys/types.h>

// A card interface as the link's worker drives it: a descriptor to poll for
// received bytes, writes, and the serial line's settings. Bytes cross
// it in the line's inverse convention. Failures return an errno value, or -1
// with errno set for Read and Write; ErrorText gives the text the operator sees.
// The window thread may change the line while the worker reads and writes.
class CardPort {
public:
    virtual ~CardPort() = default;

    // Ends the connection; the device can be opened again by anyone.
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    // Readable when bytes wait (or the device has gone); -1 when not open.
    virtual int Descriptor() const = 0;

    // Reads return immediately with what has arrived.
    virtual int SetNonBlocking() = 0;
    // Checks that the device's line settings can be read at all.
    virtual int ReadLineSettings() = 0;
    // Returns once the bytes written have left the device; a port that keeps no
    // queue of its own returns at once.
    virtual int Drain() { return 0; }
    virtual int SetBaudRate(int baud) = 0;
    virtual int LineControl(LineFunction function) = 0;

    virtual ssize_t Read(char* buffer, size_t size) = 0;
    // Writes as many of the bytes as the interface takes now.
    virtual ssize_t Write(const quint8* bytes, size_t count) = 0;

    // The operator's text for an error this port returned.
    virtual QString ErrorText(int error) const = 0;
    // False for an interface without a serial line of its own (a PC/SC reader),
    // whose baud rate and line functions the operator is told do nothing.
    virtual bool HasSerialLine() const { return true; }
    // What the interface did with the bytes sent that a serial line never does,
    // since the last call (a PC/SC reader's guesses, bytes it did not pass on).
    // The descriptor is readable while notes wait.
    virtual QList<ReaderNote> TakeNotes() { return {}; }
};
