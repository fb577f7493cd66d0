#pragma once

#include "base/Dialogs.h"

// Modal interactions during a benchmark: printed and answered with "cancel".
class PrintedDialogs : public Dialogs {
public:
    void ShowMessage(const QString& text) override;
    void ShowBox(const QString& caption, const QString& text) override;
    void ShowError(const QString& text) override;
    bool AskOkCancel(const QString& text) override;
    std::optional<QString> AskOpenFile(const FileDialogRequest& request) override;
    std::optional<QString> AskSaveFile(const FileDialogRequest& request) override;
    std::optional<QString> AskParameter(const QString& prompt) override;
    std::optional<QString> AskDataLine() override;

    int shown = 0;
};
