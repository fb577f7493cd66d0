#include "main/MainFormHosts.h"

#include "base/Colours.h"
#include "base/ProgramFolder.h"
#include "link/LinkMessages.h"
#include "main/EditorLines.h"
#include "main/TMainForm.h"
#include "ui_TMainForm.h"
#include "windows/TDisplayForm.h"

MainLinkHost::MainLinkHost(TMainForm& form) : SessionLinkHost(form.Session()), m_form(form) {}
QString MainLinkHost::PortName() const { return m_form.ui().COMLIST->text(); }
bool MainLinkHost::EchoSentBytes() const { return m_form.ui().PcscEcho->isChecked(); }
QString MainLinkHost::ByteDelayText() const { return m_form.ui().Delay->text(); }
void MainLinkHost::LogAtCaret(const QString& text) { m_form.LogAtCaret(text); }
// A start that fails and an interface that goes away say so in the status too.
void MainLinkHost::ShowPortOpen(bool open)
{
    m_form.ShowPortOpen(open);
    if (!open)
        m_form.SetStatus(LinkClosedStatus(), Colours::Red);
}
Dialogs& MainLinkHost::dialogs() { return m_form.dialogs(); }

MainTransmitHost::MainTransmitHost(TMainForm& form) : SessionTransmitHost(form.Session()), m_form(form) {}
bool MainTransmitHost::Active() { return m_form.ui().Active->isChecked(); }
qsizetype MainTransmitHost::RawLineCount() { return EditorLineCount(*m_form.ui().raw); }
QString MainTransmitHost::RawLine(qsizetype index) { return EditorLine(*m_form.ui().raw, index); }
void MainTransmitHost::SetStatus(const QString& text, quint32 colour) { m_form.SetStatus(text, colour); }
QString MainTransmitHost::ByteDelayText() { return m_form.ui().Delay->text(); }
QString MainTransmitHost::CommandDelayText() { return m_form.ui().CmdDelay->text(); }
void MainTransmitHost::LogAtCaret(const QString& text) { m_form.LogAtCaret(text); }

MainScriptHost::MainScriptHost(TMainForm& form) : SessionScriptHost(form.Session()), m_form(form) {}
bool MainScriptHost::Active() { return m_form.ui().Active->isChecked(); }
bool MainScriptHost::Paused() { return m_form.ui().Paused->isChecked(); }
void MainScriptHost::SetStatus(const QString& text, quint32 colour) { m_form.SetStatus(text, colour); }

std::optional<QString> MainScriptHost::GetParam(int, const QString& prompt)
{
    QString value;
    m_form.GetParam(value, prompt);
    return value;
}

void MainScriptHost::ShowText(const QString& text) { m_form.DoText(text); }
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
QString MainScriptHost::ScriptFolder() { return ScriptsFolder(); }
