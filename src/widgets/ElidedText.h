#pragma once

#include <QSize>
#include <QString>

class QLabel;

// Shows `text` in `label` as plain text within `room`, a fixed layout's place for
// it. Text that does not fit loses its middle to an ellipsis ("Kestrin…samples");
// a word-wrapped label keeps as many lines as fit. The whole text is then the
// tooltip, and it is always the name accessibility tools read.
void ShowElided(QLabel& label, const QString& text, QSize room);
