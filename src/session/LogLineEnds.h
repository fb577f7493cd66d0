#pragma once

#include <QString>

// The text rules of the Active Log that every front end shares.
namespace ActiveLogText {

// Every line end the log knows as "\n": "\r\n", a lone "\r" or "\n", and the
// paragraph separator. The frame marks U+FDD0 and U+FDD1, which a text document
// would take as block ends, become U+FFFD.
QString NormalisedLineEnds(QString text);

} // namespace ActiveLogText
