#include "trace/ExchangeText.h"

#include "link/HexToken.h"
#include "trace/StatusWords.h"
#include "trace/TraceFormat.h"

#include <QStringList>

namespace {

constexpr quint8 SelectIns = 0xA4;

QString Name(const TraceExchange& exchange)
{
    if (const Instruction* instruction = FindInstruction(exchange.header))
        return QString::fromLatin1(instruction->name);
    return QStringLiteral("instruction ") + HexText(exchange.Ins());
}

QString Way(DataFlow flow)
{
    return flow == DataFlow::FromCard ? QStringLiteral("from the card") : QStringLiteral("to the card");
}

QString Count(qsizetype count)
{
    return count == 1 ? QStringLiteral("1 byte") : QStringLiteral("%1 bytes").arg(count);
}

// SELECT names its file; other commands their amount of data.
QString Title(const TraceExchange& exchange)
{
    QString title = Name(exchange);
    if (exchange.Ins() == SelectIns && !exchange.data.isEmpty())
        title += u' ' + QString::fromLatin1(exchange.data.toHex().toUpper());
    else if (!exchange.data.isEmpty())
        title += u' ' + Count(exchange.data.size());
    return title;
}

QString EndReason(ExchangeEnd end)
{
    switch (end) {
    case ExchangeEnd::NextCommand: return QStringLiteral("the next command began");
    case ExchangeEnd::LineChange: return QStringLiteral("the line changed");
    case ExchangeEnd::TraceEnd: return QStringLiteral("the trace ends");
    case ExchangeEnd::NoCommand: return QStringLiteral("no card takes CLA FF, INS 6x or INS 9x");
    case ExchangeEnd::Complete: break;
    }
    return {};
}

QString StatusText(const TraceExchange& exchange)
{
    const quint8 sw1 = quint8(exchange.status[0]);
    const quint8 sw2 = quint8(exchange.status[1]);
    return ByteText(exchange.status) + QStringLiteral(": ")
           + StatusMeaning(sw1, sw2, InstructionSetOf(exchange.Cla()));
}

QString ExpectedData(const TraceExchange& exchange)
{
    const QString count = Count(DataLength(exchange.P3(), exchange.expectedFlow));
    switch (exchange.expectedFlow) {
    case DataFlow::ToCard: return count + QStringLiteral(" to the card (case 3)");
    case DataFlow::FromCard: return count + QStringLiteral(" from the card (case 2)");
    case DataFlow::None: break;
    }
    if (FindInstruction(exchange.header))
        return QStringLiteral("no data (case 1)");
    return QStringLiteral("P3 ") + HexText(exchange.P3());
}

QString ProcedureText(const TraceExchange& exchange)
{
    QStringList parts;
    for (char byte : exchange.procedure) {
        const quint8 value = quint8(byte);
        const char* name = value == 0x60 ? "NULL" : value == exchange.Ins() ? "ACK" : "one byte";
        parts.append(HexText(value) + u' ' + QLatin1StringView(name));
    }
    return parts.isEmpty() ? QStringLiteral("none") : parts.join(QStringLiteral(", "));
}

QString DataText(const TraceExchange& exchange)
{
    if (exchange.data.isEmpty())
        return QStringLiteral("none");
    return Count(exchange.data.size()) + u' ' + Way(exchange.flow) + QStringLiteral(": ") + ByteText(exchange.data);
}

} // namespace

QString ExchangeSummary(const TraceExchange& exchange)
{
    if (exchange.HasStatus())
        return Title(exchange) + QStringLiteral(" -> ") + StatusText(exchange);
    return Title(exchange) + QStringLiteral(": no status word, ") + EndReason(exchange.end);
}

QString HeaderMeaning(const TraceExchange& exchange)
{
    if (exchange.end == ExchangeEnd::NoCommand)
        return QStringLiteral("sent outside a command: ") + EndReason(exchange.end);
    if (exchange.header.size() < 5)
        return QStringLiteral("command header cut short: %1 of 5 bytes").arg(exchange.header.size());
    QString text = Name(exchange) + QStringLiteral(", ") + ExpectedData(exchange);
    if (!exchange.HasStatus() && exchange.end != ExchangeEnd::Complete)
        text += QStringLiteral(": no status word, ") + EndReason(exchange.end);
    return text;
}

QList<TraceField> ExchangeFields(const TraceExchange& exchange)
{
    if (exchange.header.size() < 5)
        return {{QStringLiteral("Header"), ByteText(exchange.header) + QStringLiteral(": ") + HeaderMeaning(exchange)}};
    const bool gsm = InstructionSetOf(exchange.Cla()) == InstructionSet::Gsm1111;
    QList<TraceField> fields{
        {QStringLiteral("Class"), HexText(exchange.Cla()) + QLatin1StringView(gsm ? " (GSM 11.11)" : " (ISO 7816-4)")},
        {QStringLiteral("Instruction"), HexText(exchange.Ins()) + u' ' + Name(exchange)},
        {QStringLiteral("P1 P2"), ByteText(exchange.header.mid(2, 2))},
        {QStringLiteral("P3"), HexText(exchange.P3()) + QStringLiteral(": ") + ExpectedData(exchange)},
        {QStringLiteral("Procedure bytes"), ProcedureText(exchange)},
        {QStringLiteral("Data"), DataText(exchange)},
        {QStringLiteral("Status word"),
         exchange.HasStatus() ? StatusText(exchange) : QStringLiteral("none: ") + EndReason(exchange.end)},
    };
    if (exchange.answerNs >= 0) { // from the header's last byte sent to the card's first byte
        const QString after = MillisecondsText(exchange.answerNs) + QStringLiteral(" ms");
        fields.append({QStringLiteral("Card answered after"), after});
    }
    return fields;
}
