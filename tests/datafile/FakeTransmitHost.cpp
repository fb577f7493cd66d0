#include "FakeTransmitHost.h"

#include "link/HexToken.h"

void FakeTransmitHost::SetStatus(const QString& text, quint32 colour)
{
    events << QStringLiteral("status %1 %2").arg(text, HexText(colour).rightJustified(6, u'0'));
}

void FakeTransmitHost::PutByte(quint8 byte)
{
    events << "put " + HexText(byte);
    if (onPut)
        onPut(byte);
}

QString FakeTransmitHost::ByteDelayText()
{
    ++byteDelayReads;
    return byteDelay;
}
