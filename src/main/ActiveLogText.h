#pragma once

#include "session/LogLineEnds.h"

#include <QString>

// The text rules of the Active Log, without a widget: the line ends (shared with
// the console runner) and the text of a received byte, which the log keeps as the
// byte.
namespace ActiveLogText {

// Whether a received byte as the link shows it, two upper-case hexadecimal digits
// and a blank, starts at `at` of `text`.
bool IsByteAt(QStringView text, qsizetype at);

// The byte whose text starts at `at` of `text` (IsByteAt holds there).
quint8 ByteAt(QStringView text, qsizetype at);

// Character `index` (0 to 2) of the text of `byte`.
inline QChar ByteChar(quint8 byte, qsizetype index)
{
    constexpr char16_t digits[] = u"0123456789ABCDEF";
    return index == 2 ? QChar(u' ') : QChar(digits[index == 0 ? byte >> 4 : byte & 0xF]);
}

} // namespace ActiveLogText
