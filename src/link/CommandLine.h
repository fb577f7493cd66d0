#pragma once

#include <QByteArray>
#include <QString>

// The bytes of a hexadecimal command line: tokens separated by spaces (only
// spaces), each read as "%X" reads it, low 8 bits. Any length is accepted.
// Empty for a line without tokens. A token that does not begin with a
// hexadecimal number refuses the whole line: throws HexLineError.
QByteArray DecodeCommand(const QString& line);

// Two upper-case hexadecimal digits and a blank per byte, as the Active Log and
// the response text show received bytes.
QString ResponseText(const QByteArray& bytes);
