#include "link/CommandLine.h"

#include "link/HexToken.h"

#include <QList>

QByteArray DecodeCommand(const QString& line)
{
    QByteArray bytes;
    for (const QStringView token : QStringView(line).split(u' ', Qt::SkipEmptyParts))
        bytes.append(char(ScanHex(token).value_or(0) & 0xFF));
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
