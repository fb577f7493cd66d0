#pragma once

#include "base/Dialogs.h"

#include <QStringList>
#include <deque>
#include <functional>
#include <vector>

// Answers every modal interaction from queued replies and records what was shown.
// An interaction with no reply queued gets the "cancel" answer.
class FakeDialogs : public Dialogs {
public:
    struct Shown {
        QString kind;    // "message", "box", "error", "okcancel", "open", "save", "parameter", "dataline"
        QString caption; // the box caption, the dialog's filter, or the prompt
        QString text;
    };

    void ShowMessage(const QString& text) override;
    void ShowBox(const QString& caption, const QString& text) override;
    void ShowError(const QString& text) override;
    bool AskOkCancel(const QString& text) override;
    std::optional<QString> AskOpenFile(const FileDialogRequest& request) override;
    std::optional<QString> AskSaveFile(const FileDialogRequest& request) override;
    std::optional<QString> AskParameter(const QString& prompt) override;
    std::optional<QString> AskDataLine() override;

    // Replies, consumed in order by the asking calls (std::nullopt: cancel).
    std::deque<std::optional<QString>> replies;
    std::deque<bool> okCancelReplies;
    // Called on every interaction, after it is recorded (a test may act "while the box is open").
    std::function<void(const Shown&)> onShown;

    std::vector<Shown> shown;
    std::vector<FileDialogRequest> fileRequests;
    QStringList texts(const QString& kind) const;

private:
    void record(const QString& kind, const QString& caption, const QString& text);
    std::optional<QString> nextReply();
};
