#pragma once

#include <QString>
#include <optional>

// What a file dialog is asked to show.
struct FileDialogRequest {
    QString caption;
    QString filter;        // "Log File|*.log": description and pattern, "|"-separated
    QString directory;     // initial folder
    QString fileName;      // initial file name
    QString defaultSuffix; // appended to a typed name without one (save only)
};

// Every modal interaction of the program. The windows show real dialogs; tests
// answer from a list of replies, so nothing ever blocks on a modal box.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A box with one OK button, captioned with the application title.
    virtual void ShowMessage(const QString& text) = 0;
    // The warning box of a failing system call, with its own caption
    // ("GetLastError") and one OK button.
    virtual void ShowBox(const QString& caption, const QString& text) = 0;
    // The box of an error that ended an action.
    virtual void ShowError(const QString& text) = 0;
    // A box with OK and Cancel and an empty title; true when OK was pressed.
    virtual bool AskOkCancel(const QString& text) = 0;
    virtual std::optional<QString> AskOpenFile(const FileDialogRequest& request) = 0;
    virtual std::optional<QString> AskSaveFile(const FileDialogRequest& request) = 0;
    // The "Input HEX Data" dialog: the entered text when confirmed.
    virtual std::optional<QString> AskParameter(const QString& prompt) = 0;
    // The data sender dialog: the line to send when closed by Send.
    virtual std::optional<QString> AskDataLine() = 0;
};
