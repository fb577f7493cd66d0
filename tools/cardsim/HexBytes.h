#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Bytes written as hexadecimal digit pairs, blanks allowed between the pairs
// ("3F 65 25" or "3F6525"). Empty for any other text, the empty text included.
std::optional<QByteArray> ParseHexBytes(const QString& text);
