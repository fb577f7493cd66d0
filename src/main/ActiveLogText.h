#pragma once

#include <QList>
#include <QString>

// The text rules of the Active Log, without a widget.
namespace ActiveLogText {

// Every line end the log knows as "\n": "\r\n", a lone "\r" or "\n", and the
// paragraph separator. The frame marks U+FDD0 and U+FDD1, which a text document
// would take as block ends, become U+FFFD.
QString NormalisedLineEnds(QString text);

// Where a line longer than maxLength is cut into display blocks: ascending offsets
// into `line`, each piece at most maxLength long. A cut goes just after a blank in
// the last quarter of a piece where there is one, and never parts a surrogate pair.
QList<qsizetype> BlockCuts(QStringView line, qsizetype maxLength);

} // namespace ActiveLogText
