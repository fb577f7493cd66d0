#include "session/SessionHosts.h"

#include "base/Dialogs.h"
#include "session/CardSession.h"

void SessionLinkHost::AppendResponse(const QByteArray& bytes) { m_session.AppendResponse(bytes); }
void SessionLinkHost::ClearResponse() { m_session.ClearResponse(); }

void SessionTransmitHost::ClearResponse() { m_session.ClearResponse(); }
void SessionTransmitHost::PutByte(quint8 byte) { m_session.Link().PutByte(byte); }

void SessionScriptHost::SendCommand(const QString& line) { m_session.Link().SendCommand(line); }
QString SessionScriptHost::Response() { return m_session.ResponseText(); }
void SessionScriptHost::ClearResponse() { m_session.ClearResponse(); }
void SessionScriptHost::LineControl(LineFunction function) { m_session.Link().LineControl(function); }
void SessionScriptHost::SetBaudRate(int baud) { m_session.Link().SetBaudRate(baud); }
void SessionScriptHost::SetEcho(bool on) { m_session.Link().SetEcho(on); }

void SessionScriptHost::ShowMessage(const QString& text)
{
    m_session.Transcript().Box(text);
    m_session.dialogs().ShowMessage(text);
}

bool SessionScriptHost::AskOkCancel(const QString& text)
{
    m_session.Transcript().Box(text);
    return m_session.dialogs().AskOkCancel(text);
}

void SessionScriptHost::DoText(const QString& text)
{
    m_session.Transcript().Text(text);
    ShowText(text);
}
