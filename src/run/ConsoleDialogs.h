#pragma once

#include "base/Dialogs.h"

#include <optional>

class RunStop;

// The operator's boxes in a run without a window. Messages are said on standard
// error. The card link's system error (the "GetLastError" box, whose text names
// the device) and an error that ends an action stop the run. PROMPT's OK/Cancel box takes the command line's answer,
// else asks on the terminal, else stops the run. File and line dialogs belong to
// the window and answer nothing here.
class ConsoleDialogs : public Dialogs {
public:
    ConsoleDialogs(RunStop& stop, std::optional<bool> promptAnswer) : m_stop(stop), m_promptAnswer(promptAnswer)
    {
    }

    void ShowMessage(const QString& text) override;
    void ShowBox(const QString& caption, const QString& text) override;
    void ShowError(const QString& text) override;
    bool AskOkCancel(const QString& text) override;
    std::optional<QString> AskOpenFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> AskSaveFile(const FileDialogRequest&) override { return std::nullopt; }
    std::optional<QString> AskParameter(const QString&) override { return std::nullopt; }
    std::optional<QString> AskDataLine() override { return std::nullopt; }

private:
    RunStop& m_stop;
    std::optional<bool> m_promptAnswer;
};
