// The words of a trace row, made when a row is shown rather than stored with it.
#include "trace/ExchangeText.h"
#include "trace/Pps.h"
#include "trace/Trace.h"

#include "link/LineFunction.h"

#include <QDateTime>

namespace {

QString Bytes(qsizetype count, const char* one, const char* many)
{
    return count == 1 ? QString::fromLatin1(one) : QString::fromLatin1(many).arg(count);
}

QString LineControlText(qint32 function)
{
    switch (LineFunction(function)) {
    case LineFunction::SetRts: return QStringLiteral("line control: SET RTS");
    case LineFunction::ClrRts: return QStringLiteral("line control: CLR RTS");
    case LineFunction::SetDtr: return QStringLiteral("line control: SET DTR");
    case LineFunction::ClrDtr: return QStringLiteral("line control: CLR DTR");
    case LineFunction::SetBreak: return QStringLiteral("line control: SET BREAK");
    case LineFunction::ClrBreak: return QStringLiteral("line control: CLR BREAK");
    }
    return QStringLiteral("line control %1").arg(function);
}

QString UnrecognisedText(qint32 reason)
{
    switch (UnrecognisedReason(reason)) {
    case UnrecognisedReason::NothingToAnswer:
        return QStringLiteral("unrecognised bytes: nothing for the card to answer");
    case UnrecognisedReason::NotProcedure:
        return QStringLiteral("unrecognised bytes: neither a procedure byte nor a status word");
    case UnrecognisedReason::DirectTs:
        return QStringLiteral("unrecognised bytes: 23 is how a direct-convention card's TS 3B reads "
                              "through the inverse-convention conversion");
    }
    return QStringLiteral("unrecognised bytes");
}

QString OpenedText(const Trace& trace, qint32 open)
{
    const qint64 wallNs = open >= 0 && open < trace.opens.size() ? trace.opens[open] : 0;
    return QStringLiteral("port opened at ")
           + QDateTime::fromMSecsSinceEpoch(wallNs / 1'000'000).toString(QStringLiteral("yyyy-MM-dd hh:mm:ss.zzz"));
}

QString NoteText(const Trace& trace, qint32 note)
{
    if (note < 0 || note >= trace.notes.size())
        return QStringLiteral("PC/SC reader");
    return QStringLiteral("PC/SC reader: ") + ReaderNoteText(trace.notes[note].kind, trace.notes[note].bytes);
}

QString ExchangeRowText(const TraceExchange& exchange, const TraceRow& row, QByteArrayView bytes)
{
    const qsizetype count = row.size;
    switch (row.kind) {
    case TraceKind::Header: return HeaderMeaning(exchange);
    case TraceKind::Procedure:
        if (!bytes.isEmpty() && quint8(bytes[0]) == exchange.Ins())
            return QStringLiteral("ACK: the rest of the data may follow");
        return QStringLiteral("INS xor FF: one data byte may follow");
    case TraceKind::Null:
        return Bytes(count, "NULL: the card asks for more time", "%1 NULL bytes: the card asks for more time");
    case TraceKind::Data:
        if (row.direction == TraceDirection::ToCard)
            return Bytes(count, "1 data byte to the card", "%1 data bytes to the card");
        return Bytes(count, "1 data byte from the card", "%1 data bytes from the card");
    case TraceKind::Status:
        return exchange.HasStatus() ? ExchangeSummary(exchange) : QStringLiteral("status word cut short");
    default: break;
    }
    return {};
}

} // namespace

const TraceExchange* Trace::ExchangeOf(const TraceRow& row) const
{
    const bool inExchange = row.kind >= TraceKind::Header && row.kind <= TraceKind::Status;
    return inExchange && row.ref >= 0 && row.ref < exchanges.size() ? &exchanges[row.ref] : nullptr;
}

const TraceAtr* Trace::AtrOf(const TraceRow& row) const
{
    return row.kind == TraceKind::Atr && row.ref >= 0 && row.ref < atrs.size() ? &atrs[row.ref] : nullptr;
}

const TracePps* Trace::PpsOf(const TraceRow& row) const
{
    const bool inPps = row.kind == TraceKind::PpsRequest || row.kind == TraceKind::PpsResponse;
    return inPps && row.ref >= 0 && row.ref < ppss.size() ? &ppss[row.ref] : nullptr;
}

QString RowMeaning(const Trace& trace, const TraceRow& row)
{
    if (row.kind == TraceKind::Echo)
        return Bytes(row.size, "echo of the byte sent", "echo of %1 bytes sent");
    if (const TraceExchange* exchange = trace.ExchangeOf(row))
        return ExchangeRowText(*exchange, row, trace.Bytes(row));
    if (const TraceAtr* atr = trace.AtrOf(row))
        return AtrSummary(atr->atr);
    if (const TracePps* pps = trace.PpsOf(row))
        return PpsMeaning(*pps, row.kind);
    switch (row.kind) {
    case TraceKind::PortOpened: return OpenedText(trace, row.ref);
    case TraceKind::PortClosed: return QStringLiteral("port closed");
    case TraceKind::BaudChanged: return QStringLiteral("baud rate %1").arg(row.ref);
    case TraceKind::LineControl: return LineControlText(row.ref);
    case TraceKind::Unrecognised: return UnrecognisedText(row.ref);
    case TraceKind::ReaderNote: return NoteText(trace, row.ref);
    default: break;
    }
    return QStringLiteral("unrecognised bytes");
}

QList<TraceField> RowFields(const Trace& trace, const TraceRow& row)
{
    if (const TraceExchange* exchange = trace.ExchangeOf(row))
        return ExchangeFields(*exchange);
    if (const TraceAtr* atr = trace.AtrOf(row))
        return AtrFields(atr->atr);
    if (const TracePps* pps = trace.PpsOf(row))
        return PpsFields(*pps);
    return {};
}

QString DirectionText(TraceDirection direction)
{
    switch (direction) {
    case TraceDirection::ToCard: return QStringLiteral("to card");
    case TraceDirection::FromCard: return QStringLiteral("from card");
    case TraceDirection::Echo: return QStringLiteral("echo");
    case TraceDirection::None: break;
    }
    return {};
}
