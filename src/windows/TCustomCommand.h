#pragma once

#include "windows/NoEscapeDialog.h"

#include <QString>
#include <memory>
#include <optional>

namespace Ui {
class TCustomCommand;
}

// The data sender dialog ("Data"): one line of hexadecimal data to transmit.
// The line stays in the edit from one showing to the next; every showing starts
// in the edit with the line selected.
class TCustomCommand : public NoEscapeDialog {
    Q_OBJECT

public:
    explicit TCustomCommand(QWidget* parent = nullptr);
    ~TCustomCommand() override;

    // Shows the dialog modally; the line when this showing was closed by Send
    // (the button or Enter in the edit), nothing when closed any other way.
    std::optional<QString> Run();

    // Run() without its modal loop, for a caller that shows the dialog itself:
    // BeginShowing() before the showing, Outcome() after it.
    void BeginShowing();
    std::optional<QString> Outcome() const;

private:
    void SendBtnClick();
    void Button2Click();
    void commandKeyPress();

    std::unique_ptr<Ui::TCustomCommand> m_ui;
    // 1 when the showing at hand was closed by Send.
    int m_sendFlag = 0;
};
