#pragma once

#include "session/SessionHosts.h"

class TMainForm;

// The main window as the card link sees it.
class MainLinkHost : public SessionLinkHost {
public:
    explicit MainLinkHost(TMainForm& form);

    QString PortName() const override;
    bool EchoSentBytes() const override;
    QString ByteDelayText() const override;
    void LogAtCaret(const QString& text) override;
    void ShowPortOpen(bool open) override;
    Dialogs& dialogs() override;

private:
    TMainForm& m_form;
};

// The main window as a data-file transmission sees it.
class MainTransmitHost : public SessionTransmitHost {
public:
    explicit MainTransmitHost(TMainForm& form);

    bool Active() override;
    qsizetype RawLineCount() override;
    QString RawLine(qsizetype index) override;
    void SetStatus(const QString& text, quint32 colour) override;
    QString ByteDelayText() override;
    QString CommandDelayText() override;
    void LogAtCaret(const QString& text) override;

private:
    TMainForm& m_form;
};

// The main window as a script run sees it.
class MainScriptHost : public SessionScriptHost {
public:
    explicit MainScriptHost(TMainForm& form);

    bool Active() override;
    bool Paused() override;
    void SetStatus(const QString& text, quint32 colour) override;
    std::optional<QString> GetParam(int slot, const QString& prompt) override;
    void ShowText(const QString& text) override;
    void WriteLog(const QString& text) override;
    void ClearLogs() override;
    void ShowDisplay() override;
    void HideDisplay() override;
    void SetDisplayBackground(quint32 colour) override;
    void SetDisplayTextColour(quint32 colour) override;
    void SetDisplayBold(bool on) override;
    void SetDisplayItalic(bool on) override;
    QString ScriptFolder() override;

private:
    TMainForm& m_form;
};
