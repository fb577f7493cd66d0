#pragma once

#include "link/Instructions.h"
#include "link/ReaderNote.h"
#include "trace/Atr.h"
#include "trace/TraceField.h"

#include <QByteArray>
#include <QList>

// What a row of the trace shows.
enum class TraceKind : quint8 {
    PortOpened,   // ref: index in Trace::opens
    PortClosed,
    BaudChanged,  // ref: the baud rate
    LineControl,  // ref: the LineFunction
    Atr,          // ref: index in Trace::atrs
    Header,       // ref (here to Status): index in Trace::exchanges
    Echo,         // the interface repeating bytes sent; ref -1 for those of a PPS request
    Procedure,    // ACK (INS) or one byte (INS xor FF)
    Null,         // 60: the card asks for more time
    Data,
    Status,
    Unrecognised, // ref: an UnrecognisedReason
    ReaderNote,   // ref: index in Trace::notes
    PpsRequest,   // ref (and for PpsResponse): index in Trace::ppss
    PpsResponse,
};

enum class TraceDirection : quint8 { None, ToCard, FromCard, Echo };

enum class UnrecognisedReason : qint32 {
    NothingToAnswer,  // no complete command header and no ATR expected
    NotProcedure,     // neither a procedure byte nor a status word
    DirectTs,         // 23: a direct-convention TS (3B) read as the inverse convention
};

// One row: consecutive bytes of one part of the traffic, or one event of the port.
// Its bytes are kept by the trace (Trace::Bytes).
struct TraceRow {
    qint64 sinceOpenNs = 0; // from the port's open to the row's first byte
    qint64 silenceNs = -1;  // from the byte or event before; -1 for the first row
    qsizetype offset = 0;   // in Trace::bytes; -1 - n while the row grows in Trace::growing[n]
    qsizetype size = 0;     // bytes
    qint32 ref = -1;        // see TraceKind
    TraceKind kind = TraceKind::Unrecognised;
    TraceDirection direction = TraceDirection::None;
};

// Why an exchange has no status word.
enum class ExchangeEnd : quint8 {
    Complete,
    NextCommand,  // the program sent another command
    LineChange,   // a line-control action or the port closing
    TraceEnd,
    NoCommand,    // no card takes the header begun (NoCardTakes)
};

// One command: the header, the data in whichever direction it went, the
// procedure bytes and the status word.
struct TraceExchange {
    QByteArray header;               // CLA INS P1 P2 P3 (fewer when cut short)
    bool known = false;              // the instruction table knows the instruction
    DataFlow expectedFlow = DataFlow::None; // the instruction table's
    DataFlow flow = DataFlow::None;  // how the data went
    QByteArray data;
    QByteArray procedure;            // procedure and NULL bytes, in order
    QByteArray status;               // SW1 SW2 (fewer when cut short)
    ExchangeEnd end = ExchangeEnd::TraceEnd;
    qint64 wallNs = 0;               // wall-clock time of the header's first byte
    qint64 responseWallNs = 0;       // of the card's first data byte or SW1
    qint64 answerNs = -1;            // from the header's last byte to the card's first byte
    qint32 headerRow = -1;

    quint8 Cla() const { return header.size() > 0 ? quint8(header[0]) : 0; }
    quint8 Ins() const { return header.size() > 1 ? quint8(header[1]) : 0; }
    quint8 P3() const { return header.size() > 4 ? quint8(header[4]) : 0; }
    bool HasStatus() const { return status.size() == 2; }
};

// A protocol and parameters selection right after an ATR: the program's request
// and the card's response, each PPSS PPS0 [PPS1 PPS2 PPS3] PCK (fewer when cut short).
struct TracePps {
    QByteArray request;
    QByteArray response;
};

struct TraceAtr {
    Atr atr;
    qint64 wallNs = 0; // wall-clock time of TS
};

// Their members may be moved in memory as they stand, so the lists grow by reallocation.
Q_DECLARE_TYPEINFO(TraceRow, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TraceExchange, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TraceAtr, Q_RELOCATABLE_TYPE);
Q_DECLARE_TYPEINFO(TracePps, Q_RELOCATABLE_TYPE);

// A decoded timeline: rows in time order, and the ATRs, exchanges and PPS they belong to.
struct Trace {
    QList<TraceRow> rows;
    QList<TraceExchange> exchanges;
    QList<TraceAtr> atrs;
    QList<TracePps> ppss;
    QList<qint64> opens; // wall-clock time of each open, ns since 1970
    QList<ReaderNote> notes; // what a PC/SC reader guessed or did not pass on
    // The rows' bytes (card values), one row after the other. Rows still growing
    // keep theirs apart until they are done, as bytes sent and their echo interleave.
    QByteArray bytes;
    QList<QByteArray> growing;

    QByteArrayView Bytes(const TraceRow& row) const
    {
        if (row.offset < 0)
            return growing[-1 - row.offset];
        return QByteArrayView(bytes).sliced(row.offset, row.size);
    }

    const TraceExchange* ExchangeOf(const TraceRow& row) const;
    const TraceAtr* AtrOf(const TraceRow& row) const;
    const TracePps* PpsOf(const TraceRow& row) const;
};

// The text of a row's meaning column: "SELECT 3F00 -> 9F 0F: 15 bytes of response ready".
QString RowMeaning(const Trace& trace, const TraceRow& row);
// The fields of the ATR, exchange or PPS a row belongs to; none for other rows.
QList<TraceField> RowFields(const Trace& trace, const TraceRow& row);
QString DirectionText(TraceDirection direction);
