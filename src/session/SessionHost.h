#pragma once

#include <QString>
#include <QtGlobal>

class Dialogs;

// What a card session needs from its front end besides the link, transmission
// and script hosts: the operator's boxes and the status label.
class SessionHost {
public:
    virtual ~SessionHost() = default;

    virtual Dialogs& dialogs() = 0;
    // The status label's text and background (0x00BBGGRR).
    virtual void SetStatus(const QString& text, quint32 colour) = 0;
};
