#pragma once

#include "windows/AboutReveal.h"
#include "windows/NoEscapeDialog.h"

#include <QTextCharFormat>
#include <QTimer>
#include <memory>

namespace Ui {
class TLogoForm;
}

// The splash window: title, revision and release date over the artwork, and the
// about text revealed one character every 30 ms once the window is active.
// Proceed (a click on its face or its label, Alt+P, or Return or Space: it is the
// default button and has the focus) closes it at any time.
class TLogoForm : public NoEscapeDialog, private RevealHost {
    Q_OBJECT

public:
    explicit TLogoForm(QWidget* parent = nullptr);
    ~TLogoForm() override;

    const AboutReveal& Reveal() const { return m_reveal; }

    // One reveal step per tick of Timer1.
    void Timer1Timer();
    // Proceed: closes the window, which ends its modal showing.
    void Image3Click();

protected:
    void showEvent(QShowEvent* event) override;   // empties Disp, focuses Proceed
    bool event(QEvent* event) override;           // activation starts the reveal
    void closeEvent(QCloseEvent* event) override; // the reveal stops where it is
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SetInsertColour(quint32 colour) override;
    void InsertCharacter(char character) override;
    void PumpMessages() override;
    void LoadPictures();

    std::unique_ptr<Ui::TLogoForm> m_ui;
    QTimer m_timer{this};
    QTextCharFormat m_insertFormat;
    AboutReveal m_reveal;
};
