#include "trace/TraceFormat.h"

#include <QByteArray>

QString ByteText(QByteArrayView bytes)
{
    return QString::fromLatin1(bytes.toByteArray().toHex(' ').toUpper());
}

QString MillisecondsText(qint64 ns)
{
    return QString::number(double(ns) / 1e6, 'f', 3);
}
