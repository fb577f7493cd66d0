#pragma once

#include "session/LogLineEnds.h"

#include <QList>
#include <QString>

// The text rules of the Active Log, without a widget: the line ends (shared with
// the console runner) and how the window cuts long lines into display blocks.
namespace ActiveLogText {

// Where a line longer than maxLength is cut into display blocks: ascending offsets
// into `line`, each piece at most maxLength long. A cut goes just after a blank in
// the last quarter of a piece where there is one, and never parts a surrogate pair.
QList<qsizetype> BlockCuts(QStringView line, qsizetype maxLength);

} // namespace ActiveLogText
