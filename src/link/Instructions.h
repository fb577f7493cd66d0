#pragma once

#include <QtGlobal>

// Which way an instruction's data flows over T=0, where the five-byte header's P3
// counts it. A command that carries data and expects data back (case 4) travels
// as a case 3 command whose answer is fetched with GET RESPONSE.
enum class DataFlow : quint8 {
    None,     // case 1: no data
    ToCard,   // case 3: P3 data bytes from the program to the card
    FromCard, // case 2: P3 data bytes from the card (P3 = 00: 256)
};

// The instruction sets: ISO 7816-4 (inter-industry classes), GSM 11.11 (class A0).
enum class InstructionSet : quint8 { Iso7816, Gsm1111 };

struct Instruction {
    quint8 ins;
    const char* name;
    DataFlow flow;
};

InstructionSet InstructionSetOf(quint8 cla);

// The instruction of the class's set, or null when the set does not know it.
const Instruction* FindInstruction(quint8 cla, quint8 ins);

// The number of data bytes P3 announces for a flow: P3 itself, but 256 for
// P3 = 00 when the card sends the data.
int DataLength(quint8 p3, DataFlow flow);
