#include "VpcdProtocol.h"

#include "HexBytes.h"
#include "T0Reader.h"

namespace Vpcd {

namespace {

constexpr qsizetype kLengthSize = 2;
constexpr qsizetype kLargest = 0xFFFF;

} // namespace

std::optional<QByteArray> TakeMessage(QByteArray& buffer)
{
    if (buffer.size() < kLengthSize)
        return std::nullopt;
    const qsizetype length = quint8(buffer[0]) << 8 | quint8(buffer[1]);
    if (buffer.size() < kLengthSize + length)
        return std::nullopt;
    QByteArray message = buffer.mid(kLengthSize, length);
    buffer.remove(0, kLengthSize + length);
    return message;
}

QByteArray Frame(const QByteArray& payload)
{
    const QByteArray bytes = payload.left(kLargest);
    return QByteArray(1, char(bytes.size() >> 8)) + char(bytes.size() & 0xFF) + bytes;
}

std::optional<QByteArray> Answer(SimulatedCard& card, const QByteArray& message)
{
    if (message.size() > 1)
        return ExchangeApdu(*card.session, message);
    const quint8 control = message.isEmpty() ? 0xFF : quint8(message[0]);
    switch (control) {
    case PowerOff:
        card.log(QStringLiteral("powered off"));
        break;
    case PowerOn:
    case Reset:
        card.log(QStringLiteral("%1, ATR %2").arg(control == PowerOn ? "powered on" : "reset", HexText(card.answerToReset())));
        break;
    case AnswerToReset:
        // Bytes of its own: the reply outlives the lock, and another thread may set a new ATR.
        return QByteArray(card.atr.constData(), card.atr.size());
    default:
        card.log(QStringLiteral("unknown control %1 ignored").arg(HexText(message)));
    }
    return std::nullopt;
}

} // namespace Vpcd
