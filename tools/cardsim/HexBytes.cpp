#include "HexBytes.h"

#include <QRegularExpression>

std::optional<QByteArray> ParseHexBytes(const QString& text)
{
    static const QRegularExpression pairs(QStringLiteral("^\\s*([0-9A-Fa-f]{2}\\s*)+$"));
    if (!pairs.match(text).hasMatch())
        return std::nullopt;
    return QByteArray::fromHex(text.toLatin1());
}

QString HexText(const QByteArray& bytes)
{
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}
