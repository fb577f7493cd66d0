#pragma once

#include "link/LinkHost.h"
#include "main/ActiveLogEdit.h"
#include "common/PrintedDialogs.h"

#include <QString>
#include <functional>

// The main window as the link sees it: received bytes go to the response, kept one
// byte each as the window keeps it, and into the Active Log, shown on screen, at its
// caret, as the window does them.
class BenchHost : public LinkHost {
public:
    explicit BenchHost(QString portName);

    QString PortName() const override { return m_portName; }
    QString ByteDelayText() const override { return QStringLiteral("0"); }
    void LogAtCaret(const QString& text) override;
    void AppendResponse(const QByteArray& bytes) override;
    void ClearResponse() override { response.clear(); }
    void ShowPortOpen(bool) override {}
    Dialogs& dialogs() override { return m_dialogs; }

    int DialogsShown() const { return m_dialogs.shown; }

    ActiveLogEdit log;
    QByteArray response;
    std::function<void()> onResponse; // after every append, to follow a stream

private:
    QString m_portName;
    PrintedDialogs m_dialogs;
};
