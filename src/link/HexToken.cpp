#include "link/HexToken.h"

#include "base/TextToInt.h"

#include <QString>
#include <QStringTokenizer>

namespace {

bool IsCSpace(QChar c)
{
    const char16_t u = c.unicode();
    return u == u' ' || (u >= u'\t' && u <= u'\r');
}

} // namespace

std::optional<quint32> ScanHex(QStringView text)
{
    qsizetype i = 0;
    const qsizetype n = text.size();
    while (i < n && IsCSpace(text[i]))
        ++i;
    bool negative = false;
    if (i < n && (text[i] == u'+' || text[i] == u'-'))
        negative = text[i++] == u'-';
    // "0x" counts as a prefix only when a digit follows; "0xZ" reads as 0.
    if (i + 2 < n && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X') && HexDigit(text[i + 2]) >= 0)
        i += 2;
    if (i >= n || HexDigit(text[i]) < 0)
        return std::nullopt;
    quint32 value = 0;
    for (; i < n && HexDigit(text[i]) >= 0; ++i)
        value = value * 16 + quint32(HexDigit(text[i]));
    return negative ? quint32(0u - value) : value;
}

QByteArray HexLineBytes(QStringView line, QStringView& notHex)
{
    notHex = {};
    QByteArray bytes;
    for (const QStringView token : QStringTokenizer(line, u' ', Qt::SkipEmptyParts)) {
        const std::optional<quint32> value = ScanHex(token);
        if (!value) {
            notHex = token;
            break;
        }
        bytes.append(char(*value & 0xFF));
    }
    return bytes;
}

QString NotHexText(QStringView token)
{
    return QStringLiteral("'%1' is not a hexadecimal number").arg(token);
}

QString HexText(quint32 value)
{
    return QString::number(value, 16).toUpper().rightJustified(2, u'0');
}
