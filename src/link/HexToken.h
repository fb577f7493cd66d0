#pragma once

#include <QByteArray>
#include <QString>
#include <QStringView>
#include <optional>

// Reads the leading hexadecimal number of a text as the C library's "%X" does:
// leading white space, an optional sign and an optional "0x", then hexadecimal
// digits of either case up to the first other character. The value wraps at
// 32 bits (so its low byte is that of the last two digits). Empty when the text
// does not begin with a hexadecimal number.
std::optional<quint32> ScanHex(QStringView text);

// The bytes of a line's tokens, separated by spaces (only spaces), each the low
// 8 bits of its ScanHex number. Stops at the first token that does not begin
// with a hexadecimal number and gives it as `notHex` (null when every token
// reads): its byte would be unsettled, so callers refuse the whole line.
QByteArray HexLineBytes(QStringView line, QStringView& notHex);

// "'ZZ' is not a hexadecimal number", for a line refused for that token.
QString NotHexText(QStringView token);

// Hexadecimal text of a byte or a number: upper case, at least two digits.
QString HexText(quint32 value);
