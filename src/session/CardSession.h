#pragma once

#include "link/CardLink.h"
#include "script/ScriptState.h"
#include "session/SessionHost.h"
#include "trace/TranscriptRecorder.h"

#include <QByteArray>
#include <functional>

class LinkHost;

// One operator's work with the card, as the window and the console runner share
// it: the card link, the response, the script parameters, the transcript of
// everything since the start, and the rule that one transmission at a time
// reaches the card.
class CardSession {
public:
    // The link host is the front end's; its shared part (SessionLinkHost) feeds
    // the response here.
    CardSession(LinkHost& linkHost, SessionHost& host);

    CardLink& Link() { return m_link; }
    const CardLink& Link() const { return m_link; }
    ScriptState& scriptState() { return m_scriptState; }
    Dialogs& dialogs() { return m_host.dialogs(); }
    // The bytes the link's worker wrote and received, from its timeline (brought
    // up to date here), and the text scripts write and the boxes they show.
    TranscriptRecorder& Transcript();

    // The response: the bytes received since the last line was sent, kept one
    // byte each, read as two upper-case hexadecimal digits and a blank per byte.
    QString ResponseText() const;
    void AppendResponse(const QByteArray& bytes);
    void ClearResponse();

    // Starts the link after a settling pause of message-pump passes, so a start
    // never runs inside the click that asked for it. No transmission may start meanwhile.
    void StartCard();
    // Send Data: refused before the link was ever started; otherwise `transmit`
    // runs as the one transmission, and the status shows "Ready." on green after
    // it, or on red that the card interface closed if it went away meanwhile.
    void SendData(const std::function<void()>& transmit);
    // Runs a transmission unless another one runs or the link is being started
    // (then says so); an error that ends it is shown.
    void RunExclusive(const std::function<void()>& run);
    // Shows `refusal` and returns true while a transmission runs.
    bool RefusedDuringTransmission(const QString& refusal);

private:
    enum class Busy { No, Starting, Transmitting };

    SessionHost& m_host;
    CardLink m_link;
    QByteArray m_response;
    ScriptState m_scriptState;
    TranscriptRecorder m_transcript;
    Busy m_busy = Busy::No;
};
