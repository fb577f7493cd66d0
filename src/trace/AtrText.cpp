// The words for an ATR: a one-line summary and the fields of a detail view.
#include "trace/Atr.h"
#include "trace/TraceFormat.h"
#include "link/HexToken.h"

#include <QStringList>

namespace {

QString Convention(const Atr& atr)
{
    if (atr.IsInverse())
        return QStringLiteral("inverse convention");
    if (atr.IsDirect())
        return QStringLiteral("direct convention");
    return QStringLiteral("not a valid TS");
}

QString Protocols(const Atr& atr)
{
    QStringList names;
    for (int protocol : atr.protocols)
        names.append(QStringLiteral("T=%1").arg(protocol));
    return names.isEmpty() ? QStringLiteral("none named") : names.join(QStringLiteral(", "));
}

QString CheckByte(const Atr& atr)
{
    if (!atr.tckDue)
        return QStringLiteral("none due (only T=0 offered)");
    if (!atr.complete)
        return QStringLiteral("missing");
    const QString tck = HexText(quint8(atr.bytes.back()));
    if (atr.checkXor == 0)
        return tck + QStringLiteral(": right");
    return tck + QStringLiteral(": check byte wrong (the XOR of T0 to TCK is %1, not 00)").arg(HexText(atr.checkXor));
}

QString ClockStopAndClasses(quint8 value)
{
    static const char* const stops[4] = {"not supported", "state L", "state H", "no preference"};
    QStringList classes;
    for (int bit = 0; bit < 6; ++bit) {
        if (value & (1 << bit))
            classes.append(QString(QChar(u'A' + bit)));
    }
    return QStringLiteral("clock stop %1, classes %2")
        .arg(QLatin1StringView(stops[value >> 6]), classes.isEmpty() ? QStringLiteral("none") : classes.join(u' '));
}

QString SpecificMode(quint8 value)
{
    return QStringLiteral("specific mode T=%1, %2, %3")
        .arg(value & 0x0F)
        .arg(value & 0x80 ? QStringLiteral("cannot change") : QStringLiteral("can change to negotiable mode"),
             value & 0x10 ? QStringLiteral("implicit parameters") : QStringLiteral("parameters of TA1"));
}

QString GuardTime(quint8 value)
{
    if (value == 0xFF)
        return QStringLiteral("minimum guard time (12 etu for T=0, 11 for T=1)");
    return QStringLiteral("extra guard time %1 etu").arg(value);
}

QString FirstGroupMeaning(const AtrInterfaceByte& b)
{
    if (b.letter == 'A')
        return QStringLiteral("Fi %1 (f max %2 MHz), Di %3")
            .arg(FiOfTa1(b.value))
            .arg(MaxClockOfTa1(b.value))
            .arg(DiOfTa1(b.value));
    if (b.letter == 'B')
        return QStringLiteral("programming voltage (no longer used)");
    return GuardTime(b.value);
}

// The bytes of group 2 on, by the protocol their group is for.
QString LaterGroupMeaning(const AtrInterfaceByte& b)
{
    if (b.group == 2 && b.letter == 'A')
        return SpecificMode(b.value);
    if (b.group == 2 && b.letter == 'C' && b.protocol == 0)
        return QStringLiteral("work waiting integer WI %1").arg(b.value);
    if (b.protocol == 15 && b.letter == 'A')
        return ClockStopAndClasses(b.value);
    if (b.protocol == 1 && b.letter == 'A')
        return QStringLiteral("IFSC %1 bytes").arg(b.value);
    if (b.protocol == 1 && b.letter == 'B')
        return QStringLiteral("BWI %1, CWI %2").arg(b.value >> 4).arg(b.value & 0x0F);
    if (b.protocol == 1 && b.letter == 'C')
        return b.value & 1 ? QStringLiteral("CRC error detection") : QStringLiteral("LRC error detection");
    return QStringLiteral("for T=%1").arg(b.protocol);
}

QString InterfaceMeaning(const AtrInterfaceByte& b)
{
    if (b.letter == 'D') {
        const QString protocol = QStringLiteral("T=%1").arg(b.value & 0x0F);
        return b.value >> 4 ? protocol + QStringLiteral(", more interface bytes follow") : protocol;
    }
    return b.group == 1 ? FirstGroupMeaning(b) : LaterGroupMeaning(b);
}

// Historical bytes that are all printable are shown as text too ("Yubikey4").
QString Historical(const Atr& atr)
{
    QString text = ByteText(atr.historical);
    const bool printable = atr.historical.size() >= 3 && std::all_of(atr.historical.begin(), atr.historical.end(),
                                                                    [](char c) { return c >= 0x20 && c < 0x7F; });
    if (printable)
        text += QStringLiteral(" \"%1\"").arg(QString::fromLatin1(atr.historical));
    return text;
}

} // namespace

QString RateText(int fi, int di)
{
    if (fi == 0 || di == 0)
        return QStringLiteral("Fi %1 Di %2 (reserved value)").arg(fi).arg(di);
    return QStringLiteral("Fi %1 Di %2 (%3 clocks per bit)").arg(fi).arg(di).arg(QString::number(double(fi) / di, 'g', 4));
}

QString AtrSummary(const Atr& atr)
{
    if (!atr.complete && atr.bytes.size() >= Atr::MaxLength)
        return QStringLiteral("not a valid ATR: it announces more than %1 bytes").arg(Atr::MaxLength);
    if (!atr.complete)
        return QStringLiteral("ATR cut short: %1 of at least %2 bytes").arg(atr.bytes.size()).arg(atr.knownLength);
    QString text = QStringLiteral("ATR: %1, %2, %3, %4 historical bytes")
                       .arg(Convention(atr), Protocols(atr), RateText(atr.Fi(), atr.Di()))
                       .arg(atr.historicalCount);
    if (atr.tckDue)
        text += atr.checkXor == 0 ? QStringLiteral(", check byte right") : QStringLiteral(", check byte wrong");
    return text;
}

QList<TraceField> AtrFields(const Atr& atr)
{
    QList<TraceField> fields;
    if (atr.bytes.isEmpty())
        return fields;
    fields.append({QStringLiteral("TS"), HexText(quint8(atr.bytes[0])) + QStringLiteral(": ") + Convention(atr)});
    if (atr.bytes.size() > 1) {
        const quint8 t0 = quint8(atr.bytes[1]);
        fields.append({QStringLiteral("T0"),
                       QStringLiteral("%1: %2 historical bytes").arg(HexText(t0)).arg(atr.historicalCount)});
    }
    for (const AtrInterfaceByte& b : atr.interfaceBytes)
        fields.append({QStringLiteral("T%1%2").arg(QLatin1Char(b.letter)).arg(b.group),
                       HexText(b.value) + QStringLiteral(": ") + InterfaceMeaning(b)});
    fields.append({QStringLiteral("Rate"), RateText(atr.Fi(), atr.Di())});
    fields.append({QStringLiteral("Protocols"), Protocols(atr)});
    fields.append({QStringLiteral("Historical bytes"), Historical(atr)});
    fields.append({QStringLiteral("TCK"), CheckByte(atr)});
    fields.append({QStringLiteral("Length"), atr.complete ? QStringLiteral("%1 bytes").arg(atr.bytes.size())
                                                          : AtrSummary(atr)});
    return fields;
}
