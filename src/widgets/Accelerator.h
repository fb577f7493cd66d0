#pragma once

#include <QChar>
#include <QString>

// Captions mark their accelerator letter with "&"; "&&" stands for one literal "&".

// The caption as it reads on screen: single "&" marks dropped, "&&" kept as one "&".
QString StripAccelerators(const QString& caption);

// The letter after the first single "&", upper-cased; a null QChar when there is none.
QChar AcceleratorOf(const QString& caption);
