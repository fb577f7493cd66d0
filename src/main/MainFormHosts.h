#pragma once

#include "datafile/TransmitHost.h"
#include "link/LinkHost.h"
#include "script/ScriptHost.h"

class TMainForm;

// The main window as the card link sees it.
class MainLinkHost : public LinkHost {
public:
    explicit MainLinkHost(TMainForm& form) : m_form(form) {}

    QString PortName() const override;
    QString ByteDelayText() const override;
    void LogAtCaret(const QString& text) override;
    void AppendResponse(const QString& text) override;
    void ClearResponse() override;
    void ShowPortOpen(bool open) override;
    Dialogs& dialogs() override;

private:
    TMainForm& m_form;
};

// The main window as a data-file transmission sees it.
class MainTransmitHost : public TransmitHost {
public:
    explicit MainTransmitHost(TMainForm& form) : m_form(form) {}

    bool Active() override;
    void ClearResponse() override;
    qsizetype RawLineCount() override;
    QString RawLine(qsizetype index) override;
    void SetStatus(const QString& text, quint32 colour) override;
    void PutByte(quint8 byte) override;
    QString ByteDelayText() override;
    QString CommandDelayText() override;
    void LogAtCaret(const QString& text) override;

private:
    TMainForm& m_form;
};

// The main window as a script run sees it.
class MainScriptHost : public ScriptHost {
public:
    explicit MainScriptHost(TMainForm& form) : m_form(form) {}

    bool Active() override;
    bool Paused() override;
    void SetStatus(const QString& text, quint32 colour) override;
    void SendCommand(const QString& line) override;
    QString Response() override;
    void ClearResponse() override;
    void LineControl(LineFunction function) override;
    void SetBaudRate(int baud) override;
    void SetEcho(bool on) override;
    std::optional<QString> GetParam(const QString& prompt) override;
    void ShowMessage(const QString& text) override;
    bool AskOkCancel(const QString& text) override;
    void DoText(const QString& text) override;
    void WriteLog(const QString& text) override;
    void ClearLogs() override;
    void ShowDisplay() override;
    void HideDisplay() override;
    void SetDisplayBackground(quint32 colour) override;
    void SetDisplayTextColour(quint32 colour) override;
    void SetDisplayBold(bool on) override;
    void SetDisplayItalic(bool on) override;

private:
    TMainForm& m_form;
};
