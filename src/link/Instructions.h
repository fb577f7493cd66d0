#pragma once

#include <QByteArrayView>
#include <QtGlobal>

// Which way an instruction's data flows over T=0, where the five-byte header's P3
// counts it. A command that carries data and expects data back (case 4) travels
// as a case 3 command whose answer is fetched with GET RESPONSE.
enum class DataFlow : quint8 {
    None,     // case 1: no data
    ToCard,   // case 3: P3 data bytes from the program to the card
    FromCard, // case 2: P3 data bytes from the card (P3 = 00: 256)
};

// The instruction sets of the status words: ISO 7816-4 (every class but A0) and
// GSM 11.11 (class A0).
enum class InstructionSet : quint8 { Iso7816, Gsm1111 };

struct Instruction {
    quint8 ins;
    const char* name;
    DataFlow flow;
};

InstructionSet InstructionSetOf(quint8 cla);

// The instruction a command header (CLA INS, and P1 where it has one) names:
// from ISO 7816-4 for the inter-industry classes, GSM 11.11 and its toolkit for
// class A0, and for the other proprietary classes (80, 84, ...) those of a UICC
// (ETSI TS 102 221, its toolkit TS 102 223) and of GlobalPlatform. Null when the
// class's table does not know it.
const Instruction* FindInstruction(QByteArrayView header);

// True for the start of a header that no card takes as a command: CLA FF (the
// start of a protocol type selection) or INS 6x or 9x (procedure bytes and status
// words). Looks at as many bytes as there are, up to INS.
bool NoCardTakes(QByteArrayView header);

// The number of data bytes P3 announces for a flow: P3 itself, but 256 for
// P3 = 00 when the card sends the data.
int DataLength(quint8 p3, DataFlow flow);
