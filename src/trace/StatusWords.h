#pragma once

#include "link/Instructions.h"

#include <QString>

// What a status word SW1 SW2 means, from the tables of the instruction set
// (ISO 7816-4 or GSM 11.11), then the other set's, then the group SW1 belongs
// to: "15 bytes of response ready", "file or application not found".
QString StatusMeaning(quint8 sw1, quint8 sw2, InstructionSet set);

// SW1 values that end a T=0 command: 6X but 60, and 9X.
bool IsStatusByte(quint8 sw1);
