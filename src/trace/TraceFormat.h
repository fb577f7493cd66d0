#pragma once

#include <QByteArrayView>
#include <QString>

// Bytes as upper-case hexadecimal pairs with one blank between: "3F 00 A4".
QString ByteText(QByteArrayView bytes);

// Nanoseconds as milliseconds with three decimals: "12.345".
QString MillisecondsText(qint64 ns);
