#pragma once

#include <QByteArray>
#include <QString>

// The bytes of a hexadecimal command line: tokens separated by spaces (only
// spaces), each read as "%X" reads it, low 8 bits. A token that does not begin
// with a hexadecimal number gives 00, so every other byte keeps its position.
// Any length is accepted. Empty for a line without tokens.
QByteArray DecodeCommand(const QString& line);

// Two upper-case hexadecimal digits and a blank per byte, as the Active Log and
// the response text show received bytes.
QString ResponseText(const QByteArray& bytes);
