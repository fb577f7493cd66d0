#pragma once

#include <QDialog>

// A dialog that Escape does not close: it ends only through its own controls
// or the window's close box.
class NoEscapeDialog : public QDialog {
    Q_OBJECT

public:
    using QDialog::QDialog;

protected:
    void keyPressEvent(QKeyEvent* event) override;
};
