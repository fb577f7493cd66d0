#pragma once

#include <QByteArray>
#include <QString>
#include <optional>

// Bytes written as hexadecimal digit pairs, blanks allowed between the pairs
// ("3F 65 25" or "3F6525"). Empty for any other text, the empty text included.
std::optional<QByteArray> ParseHexBytes(const QString& text);

// Bytes as upper-case digit pairs with a blank between them ("3F 65 25").
QString HexText(const QByteArray& bytes);
