#pragma once

#include <QString>
#include <array>
#include <optional>

// What scripts share across run levels and from one run to the next: the
// parameters P1 to P5 and the print position into the response. Nothing clears
// them; the main window owns one for the life of the program.
struct ScriptState {
    std::array<QString, 5> parameters; // P1 .. P5
    qint32 printPos = 0;                // 1-based byte position into the response
};

// The slot of "P1" .. "P5" (exact text), none for any other name.
inline std::optional<int> ParameterSlot(QStringView name)
{
    if (name.size() != 2 || name[0] != u'P' || name[1] < u'1' || name[1] > u'5')
        return std::nullopt;
    return name[1].unicode() - u'1';
}
