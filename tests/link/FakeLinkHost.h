#pragma once

#include "common/FakeDialogs.h"
#include "link/CommandLine.h"
#include "link/LinkHost.h"

#include <QStringList>
#include <vector>

// The main window as the card link sees it, recording what the link shows.
class FakeLinkHost : public LinkHost {
public:
    QString PortName() const override { return portName; }
    bool EchoSentBytes() const override { return echoSentBytes; }
    QString ByteDelayText() const override
    {
        ++delayReads;
        return byteDelay;
    }
    void LogAtCaret(const QString& text) override { log += text; }
    void AppendResponse(const QByteArray& bytes) override { response += ResponseText(bytes); }
    void ClearResponse() override { response.clear(); }
    void ShowPortOpen(bool open) override { lights.push_back(open); }
    Dialogs& dialogs() override { return fakeDialogs; }

    // The texts of the boxes captioned "GetLastError", in order.
    // The system's words that each "GetLastError" box gives in parentheses,
    // after the device and what happened to it.
    QStringList ErrorBoxes() const
    {
        QStringList texts;
        for (const FakeDialogs::Shown& shown : fakeDialogs.shown)
            if (shown.kind == "box" && shown.caption == "GetLastError")
                texts << shown.text.sliced(shown.text.lastIndexOf(u'(') + 1).chopped(2);
        return texts;
    }

    QString portName;
    bool echoSentBytes = true;
    QString byteDelay = QStringLiteral("0");
    mutable int delayReads = 0;
    QString log;              // everything inserted into the Active Log, in order
    QString response;
    std::vector<bool> lights; // every ShowPortOpen, in order
    FakeDialogs fakeDialogs;
};
