#pragma once

#include <QString>
#include <optional>

// Whole-text integer conversion: optional leading blanks, optional sign, then
// ASCII decimal digits, or hexadecimal digits after "$" or "0x"; nothing may follow,
// and the value must fit in 32 bits.
std::optional<qint32> ParseInt(const QString& text);

// As ParseInt, but a text that is not such a number throws ConversionError.
qint32 TextToInt(const QString& text);

// The value of an ASCII hexadecimal digit (0-9, a-f, A-F), or -1. Digits of other
// scripts and full-width forms are no digits.
int HexDigit(QChar c);
