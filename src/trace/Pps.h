#pragma once

#include "trace/Trace.h"

#include <optional>

// A PPS request or response: PPSS (FF), PPS0 (bits 5 to 7: PPS1 to PPS3 follow;
// bits 1 to 4: the protocol), PPS1 (Fi and Di, coded as TA1), PPS2, PPS3, and
// the check byte PCK, which makes the XOR of the whole message 00.
inline constexpr quint8 Ppss = 0xFF;

// The bytes the message takes, as far as its PPS0 tells: 3 to 6, at least 3 before PPS0.
int PpsLength(QByteArrayView message);
bool PpsComplete(QByteArrayView message);
// PPS1, PPS2 or PPS3 (number 1 to 3) of a complete message, where PPS0 announces it.
std::optional<quint8> PpsParameter(QByteArrayView message, int number);

// The words for a PPS (PpsText.cpp): the meaning of its request's or response's
// row, "PPS request: T=0, Fi 512 Di 8 (64 clocks per bit)", and the fields of a detail view.
QString PpsMeaning(const TracePps& pps, TraceKind kind);
QList<TraceField> PpsFields(const TracePps& pps);
