#pragma once

#include "script/ScriptLines.h"

// The loop of one run level: loops do not nest, a REPEAT replaces what is open.
struct LoopState {
    bool active = false;
    qint32 total = 0;   // the REPEAT count; below 1 the pass number never meets it
    qint32 pass = 0;    // the pass under way, from 1
    qsizetype start = 0; // index of the REPEAT line
    qsizetype end = 0;   // index of the first ENDREPEAT met while open; 0 until then
};

// One activation of the interpreter on one list of lines.
struct ScriptLevel {
    explicit ScriptLevel(ScriptLines& levelLines) : lines(levelLines) {}

    ScriptLines& lines;
    qsizetype index = 0;
    LoopState loop;
    bool ended = false; // set by EXEC when its file is missing: this level stops
};
