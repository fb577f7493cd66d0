#pragma once

#include <QDialog>
#include <QString>
#include <memory>
#include <optional>

namespace Ui {
class TInputForm;
}

// The parameter input dialog ("Input HEX Data") that the script command GET shows.
// OK (or Enter) confirms; Cancel, Escape and the close box do not. It opens with
// the previous entry selected, so typing replaces it and Enter repeats it.
class TInputForm : public QDialog {
    Q_OBJECT

public:
    explicit TInputForm(QWidget* parent = nullptr);
    ~TInputForm() override;

    // Shows the dialog modally with `prompt` above the edit; the entered text when confirmed.
    std::optional<QString> Ask(const QString& prompt);

    // Ask() without its modal loop: BeginShowing() before the showing, Outcome() after it.
    void BeginShowing(const QString& prompt);
    std::optional<QString> Outcome() const;

private:
    std::unique_ptr<Ui::TInputForm> m_ui;
};
