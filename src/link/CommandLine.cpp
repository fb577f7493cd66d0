#include "link/CommandLine.h"

#include "base/KestrinError.h"
#include "link/HexToken.h"

QByteArray DecodeCommand(const QString& line)
{
    QStringView notHex;
    const QByteArray bytes = HexLineBytes(line, notHex);
    if (!notHex.isNull())
        throw HexLineError(NotHexText(notHex) + QStringLiteral("; the line was not sent"));
    return bytes;
}

QString ResponseText(const QByteArray& bytes)
{
    static constexpr char Digits[] = "0123456789ABCDEF";
    QString text(bytes.size() * 3, u' ');
    QChar* out = text.data();
    for (const char byte : bytes) {
        *out++ = QLatin1Char(Digits[quint8(byte) >> 4]);
        *out++ = QLatin1Char(Digits[quint8(byte) & 0xF]);
        ++out;
    }
    return text;
}
