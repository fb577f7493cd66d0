#pragma once

#include <QString>
#include <QStringView>
#include <optional>

// Reads the leading hexadecimal number of a text as the C library's "%X" does:
// leading white space, an optional sign and an optional "0x", then hexadecimal
// digits of either case up to the first other character. The value wraps at
// 32 bits (so its low byte is that of the last two digits). Empty when the text
// does not begin with a hexadecimal number.
std::optional<quint32> ScanHex(QStringView text);

// Hexadecimal text of a byte or a number: upper case, at least two digits.
QString HexText(quint32 value);
