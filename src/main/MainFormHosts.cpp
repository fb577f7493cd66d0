#include "main/MainFormHosts.h"

#include "base/Dialogs.h"
#include "main/EditorLines.h"
#include "main/TMainForm.h"
#include "ui_TMainForm.h"
#include "windows/TDisplayForm.h"

QString MainLinkHost::PortName() const { return m_form.ui().COMLIST->text(); }
QString MainLinkHost::ByteDelayText() const { return m_form.ui().Delay->text(); }
void MainLinkHost::LogAtCaret(const QString& text) { m_form.LogAtCaret(text); }
void MainLinkHost::AppendResponse(const QString& text) { m_form.Response += text; }
void MainLinkHost::ClearResponse() { m_form.Response.clear(); }
void MainLinkHost::ShowPortOpen(bool open) { m_form.ShowPortOpen(open); }
Dialogs& MainLinkHost::dialogs() { return m_form.dialogs(); }

bool MainTransmitHost::Active() { return m_form.ui().Active->isChecked(); }
void MainTransmitHost::ClearResponse() { m_form.Response.clear(); }
qsizetype MainTransmitHost::RawLineCount() { return EditorLineCount(*m_form.ui().raw); }
QString MainTransmitHost::RawLine(qsizetype index) { return EditorLine(*m_form.ui().raw, index); }
void MainTransmitHost::SetStatus(const QString& text, quint32 colour) { m_form.SetStatus(text, colour); }
void MainTransmitHost::PutByte(quint8 byte) { m_form.Link().PutByte(byte); }
QString MainTransmitHost::ByteDelayText() { return m_form.ui().Delay->text(); }
QString MainTransmitHost::CommandDelayText() { return m_form.ui().CmdDelay->text(); }
void MainTransmitHost::LogAtCaret(const QString& text) { m_form.LogAtCaret(text); }

bool MainScriptHost::Active() { return m_form.ui().Active->isChecked(); }
bool MainScriptHost::Paused() { return m_form.ui().Paused->isChecked(); }
void MainScriptHost::SetStatus(const QString& text, quint32 colour) { m_form.SetStatus(text, colour); }
void MainScriptHost::SendCommand(const QString& line) { m_form.SendCommand(line); }
QString MainScriptHost::Response() { return m_form.Response; }
void MainScriptHost::ClearResponse() { m_form.Response.clear(); }
void MainScriptHost::LineControl(LineFunction function) { m_form.Link().LineControl(function); }
void MainScriptHost::SetBaudRate(int baud) { m_form.Link().SetBaudRate(baud); }
void MainScriptHost::SetEcho(bool on) { m_form.Link().SetEcho(on); }

std::optional<QString> MainScriptHost::GetParam(const QString& prompt)
{
    QString value;
    m_form.GetParam(value, prompt);
    return value;
}

void MainScriptHost::ShowMessage(const QString& text) { m_form.dialogs().ShowMessage(text); }
bool MainScriptHost::AskOkCancel(const QString& text) { return m_form.dialogs().AskOkCancel(text); }
void MainScriptHost::DoText(const QString& text) { m_form.DoText(text); }
void MainScriptHost::WriteLog(const QString& text) { m_form.LogAtCaret(text); }

void MainScriptHost::ClearLogs()
{
    m_form.display().ClearText();
    m_form.ui().Memo1->Clear();
}

void MainScriptHost::ShowDisplay() { m_form.display().ShowDisplay(); }
void MainScriptHost::HideDisplay() { m_form.display().HideDisplay(); }
void MainScriptHost::SetDisplayBackground(quint32 colour) { m_form.display().SetBackgroundColour(colour); }
void MainScriptHost::SetDisplayTextColour(quint32 colour) { m_form.display().SetTextColour(colour); }
void MainScriptHost::SetDisplayBold(bool on) { m_form.display().SetBold(on); }
void MainScriptHost::SetDisplayItalic(bool on) { m_form.display().SetItalic(on); }
