#pragma once

// The serial-line functions a script can perform, numbered as card interface
// scripts have always numbered them.
enum class LineFunction {
    SetRts = 3,
    ClrRts = 4,
    SetDtr = 5,
    ClrDtr = 6,
    SetBreak = 8,
    ClrBreak = 9,
};
