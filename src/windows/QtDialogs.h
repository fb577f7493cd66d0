#pragma once

#include "base/Dialogs.h"

class TCustomCommand;
class TInputForm;

// The program's real dialogs: Qt message boxes and file dialogs, and the program's
// own input dialog and data sender. Message boxes show their text as plain text;
// every box and dialog stays above the always-on-top system display.
class QtDialogs : public Dialogs {
public:
    QtDialogs(TInputForm& inputForm, TCustomCommand& customCommand);

    void ShowMessage(const QString& text) override;
    void ShowBox(const QString& caption, const QString& text) override;
    void ShowError(const QString& text) override;
    bool AskOkCancel(const QString& text) override;
    std::optional<QString> AskOpenFile(const FileDialogRequest& request) override;
    std::optional<QString> AskSaveFile(const FileDialogRequest& request) override;
    std::optional<QString> AskParameter(const QString& prompt) override;
    std::optional<QString> AskDataLine() override;

private:
    TInputForm& m_inputForm;
    TCustomCommand& m_customCommand;
};
