#pragma once

#include <QTextCharFormat>
#include <QWidget>
#include <memory>

namespace Ui {
class TDisplayForm;
}

// The system display window: a frameless, always-on-top text board that scripts
// write to. Every operation works whether the window is shown or hidden.
class TDisplayForm : public QWidget {
    Q_OBJECT

public:
    explicit TDisplayForm(QWidget* parent = nullptr);
    ~TDisplayForm() override;

    // Makes the window visible and brings it to the front; a window that was
    // hidden is first placed over the whole primary screen.
    void ShowDisplay();
    // Hides the window; its text and colours stay.
    void HideDisplay();
    // Removes all text; the background and the insertion attributes stay.
    void ClearText();
    // The background of the whole text area, text already shown included.
    void SetBackgroundColour(quint32 colour);
    // The insertion attributes: colour and style of the text inserted from now on.
    void SetTextColour(quint32 colour);
    void SetBold(bool on);
    void SetItalic(bool on);
    // Replaces the selection at the caret by `text` in the insertion attributes; CR LF,
    // a lone CR and a lone LF each start a new line. The caret ends behind the text.
    void InsertText(const QString& text);

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void SpeedButton1Click();

    std::unique_ptr<Ui::TDisplayForm> m_ui;
    QTextCharFormat m_insertFormat;
};
