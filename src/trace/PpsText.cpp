// The words for a PPS: its rows' meanings and the fields of a detail view.
#include "trace/Pps.h"

#include "link/HexToken.h"
#include "trace/TraceFormat.h"

namespace {

constexpr quint8 DefaultRates = 0x11; // Fi 372 Di 1, where PPS1 is absent

QString Protocol(QByteArrayView message) { return QStringLiteral("T=%1").arg(quint8(message[1]) & 0x0F); }

QString Rates(QByteArrayView message)
{
    const quint8 rates = PpsParameter(message, 1).value_or(DefaultRates);
    return RateText(FiOfTa1(rates), DiOfTa1(rates));
}

bool CheckRight(QByteArrayView message) { return XorOf(message) == 0; }

QString CheckText(QByteArrayView message)
{
    const QString pck = HexText(quint8(message.back()));
    if (CheckRight(message))
        return pck + QStringLiteral(": right");
    return pck + QStringLiteral(": wrong (the XOR of PPSS to PCK is %1, not 00)").arg(HexText(XorOf(message)));
}

QString CutShort(const char* what, QByteArrayView message)
{
    const QString length = message.size() < 2 ? QStringLiteral("at least %1").arg(PpsLength(message))
                                              : QString::number(PpsLength(message));
    return QStringLiteral("PPS %1 cut short: %2 of %3 bytes").arg(QLatin1StringView(what)).arg(message.size()).arg(length);
}

// A response grants what it repeats of the request; one that leaves out PPS1
// keeps the default rates.
QString Outcome(const TracePps& pps)
{
    if (!PpsComplete(pps.response))
        return pps.response.isEmpty() ? QStringLiteral("no response") : CutShort("response", pps.response);
    if (!CheckRight(pps.response))
        return QStringLiteral("check byte wrong");
    bool same = PpsComplete(pps.request) && (pps.response[1] & 0x0F) == (pps.request[1] & 0x0F);
    for (int number = 1; number <= 3; ++number) {
        const std::optional<quint8> granted = PpsParameter(pps.response, number);
        same = same && (!granted || granted == PpsParameter(pps.request, number));
    }
    if (!same)
        return QStringLiteral("not as asked: the selection failed");
    if (PpsParameter(pps.request, 1) && !PpsParameter(pps.response, 1))
        return QStringLiteral("Fi and Di refused");
    return QStringLiteral("granted");
}

QString Values(QByteArrayView message) { return Protocol(message) + QStringLiteral(", ") + Rates(message); }

// The fields of one message, their names ending in `side` ("asked", "granted").
QList<TraceField> MessageFields(const QString& name, QByteArrayView message, const QString& side)
{
    if (!PpsComplete(message))
        return {{name, message.isEmpty() ? QStringLiteral("none") : ByteText(message) + QStringLiteral(": cut short")}};
    QList<TraceField> fields{{name, ByteText(message)}, {QStringLiteral("Protocol ") + side, Protocol(message)}};
    const std::optional<quint8> rates = PpsParameter(message, 1);
    fields.append({QStringLiteral("Fi Di ") + side, (rates ? HexText(*rates) : QStringLiteral("no PPS1")) + QStringLiteral(": ") + Rates(message)});
    for (int number = 2; number <= 3; ++number) {
        if (const std::optional<quint8> parameter = PpsParameter(message, number))
            fields.append({QStringLiteral("PPS%1 ").arg(number) + side, HexText(*parameter)});
    }
    fields.append({name + QStringLiteral(" check byte"), CheckText(message)});
    return fields;
}

} // namespace

QString PpsMeaning(const TracePps& pps, TraceKind kind)
{
    if (kind == TraceKind::PpsResponse) {
        if (!PpsComplete(pps.response))
            return CutShort("response", pps.response);
        return QStringLiteral("PPS response: ") + Values(pps.response) + QStringLiteral(": ") + Outcome(pps);
    }
    if (!PpsComplete(pps.request))
        return CutShort("request", pps.request);
    const QString text = QStringLiteral("PPS request: ") + Values(pps.request);
    return CheckRight(pps.request) ? text : text + QStringLiteral(", check byte wrong");
}

QList<TraceField> PpsFields(const TracePps& pps)
{
    QList<TraceField> fields = MessageFields(QStringLiteral("PPS request"), pps.request, QStringLiteral("asked"));
    fields += MessageFields(QStringLiteral("PPS response"), pps.response, QStringLiteral("granted"));
    if (PpsComplete(pps.request))
        fields.append({QStringLiteral("Outcome"), Outcome(pps)});
    return fields;
}
