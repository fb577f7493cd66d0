#pragma once

#include <QByteArray>
#include <QtGlobal>

// Inverse convention: bit order reversed, then complemented. The transform is
// its own inverse; every byte crossing the card link goes through it.
quint8 InvertByte(quint8 byte);
void InvertBytes(quint8* buffer, qsizetype count);
void InvertBytes(QByteArray& buffer);
