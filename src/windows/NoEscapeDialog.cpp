#include "windows/NoEscapeDialog.h"

#include <QKeyEvent>

void NoEscapeDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}
