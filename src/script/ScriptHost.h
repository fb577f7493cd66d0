#pragma once

#include "link/LineFunction.h"

#include <QString>
#include <QtGlobal>
#include <optional>

// What a script run needs from the main window. Every operation is one call into
// a control, a dialog or the card link; the window implements it, tests fake it.
class ScriptHost {
public:
    virtual ~ScriptHost() = default;

    // The "Active" and "Pause" check boxes.
    virtual bool Active() = 0;
    virtual bool Paused() = 0;
    // The status label's caption and background (0x00BBGGRR).
    virtual void SetStatus(const QString& text, quint32 colour) = 0;

    // The card link: send one hexadecimal command line (empties the response first),
    // the response text received since, serial-line functions, baud rate, echo.
    virtual void SendCommand(const QString& line) = 0;
    virtual QString Response() = 0;
    virtual void ClearResponse() = 0;
    virtual void LineControl(LineFunction function) = 0;
    virtual void SetBaudRate(int baud) = 0;
    virtual void SetEcho(bool on) = 0;

    // The operator: the value of parameter P<slot + 1> (the "Input HEX Data" dialog:
    // the text when confirmed), a box with one OK button, a box with OK and Cancel
    // (true for OK).
    virtual std::optional<QString> GetParam(int slot, const QString& prompt) = 0;
    virtual void ShowMessage(const QString& text) = 0;
    virtual bool AskOkCancel(const QString& text) = 0;

    // Output: DoText writes into the display window, then the same into the Active
    // Log; WriteLog writes into the Active Log only; ClearLogs empties both.
    virtual void DoText(const QString& text) = 0;
    virtual void WriteLog(const QString& text) = 0;
    virtual void ClearLogs() = 0;

    // The system display window. Colours apply to text written afterwards, except
    // the background, which is the whole area's.
    virtual void ShowDisplay() = 0;
    virtual void HideDisplay() = 0;
    virtual void SetDisplayBackground(quint32 colour) = 0;
    virtual void SetDisplayTextColour(quint32 colour) = 0;
    virtual void SetDisplayBold(bool on) = 0;
    virtual void SetDisplayItalic(bool on) = 0;

    // The folder in which EXEC finds the scripts it runs.
    virtual QString ScriptFolder() = 0;
};
