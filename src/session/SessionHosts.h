#pragma once

#include "datafile/TransmitHost.h"
#include "link/LinkHost.h"
#include "script/ScriptHost.h"

class CardSession;

// The parts of the hosts that every front end shares: the response, the card
// link, the operator's boxes and the transcript are the session's. A front end
// derives from these and adds its own controls, log and settings.

class SessionLinkHost : public LinkHost {
public:
    explicit SessionLinkHost(CardSession& session) : m_session(session) {}

    void AppendResponse(const QByteArray& bytes) override;
    void ClearResponse() override;

private:
    CardSession& m_session;
};

class SessionTransmitHost : public TransmitHost {
public:
    explicit SessionTransmitHost(CardSession& session) : m_session(session) {}

    void ClearResponse() override;
    void PutByte(quint8 byte) override;

private:
    CardSession& m_session;
};

class SessionScriptHost : public ScriptHost {
public:
    explicit SessionScriptHost(CardSession& session) : m_session(session) {}

    void SendCommand(const QString& line) override;
    QString Response() override;
    void ClearResponse() override;
    void LineControl(LineFunction function) override;
    void SetBaudRate(int baud) override;
    void SetEcho(bool on) override;
    void ShowMessage(const QString& text) override;
    bool AskOkCancel(const QString& text) override;
    // The text enters the transcript, then the front end shows it (ShowText).
    void DoText(const QString& text) final;

protected:
    // Writes script text into the display window, then the same into the Active Log.
    virtual void ShowText(const QString& text) = 0;

private:
    CardSession& m_session;
};
