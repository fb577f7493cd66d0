#pragma once

#include <QString>
#include <QStringList>

struct DiffNames {
    QString from; // the "---" side
    QString to;   // the "+++" side
};

// Whether a line of the "to" side stands for a line of the "from" side.
using LinesMatch = bool (*)(QStringView from, QStringView to);

// The differences of two lists of lines as a unified diff with `context` lines
// around each change, or an empty text when every line matches. Lines that
// match are shown as the "from" side has them.
QString UnifiedDiff(const QStringList& from, const QStringList& to, LinesMatch match, const DiffNames& names,
                    int context = 3);
