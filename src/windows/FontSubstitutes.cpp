#include "windows/FontSubstitutes.h"

#include <QFont>
#include <QStringList>

namespace {
struct Substitute {
    const char* family;
    const char* nearest;
    const char* fallback;
};

constexpr Substitute Substitutes[] = {
    {"MS Sans Serif", "DejaVu Sans", "Liberation Sans"},
    {"Arial", "Liberation Sans", "DejaVu Sans"},
    {"Courier New", "Liberation Mono", "DejaVu Sans Mono"},
    {"MS Serif", "Liberation Serif", "DejaVu Serif"},
};
} // namespace

void InstallFontSubstitutes()
{
    for (const Substitute& substitute : Substitutes) {
        QFont::insertSubstitutions(QString::fromLatin1(substitute.family),
                                   QStringList{QString::fromLatin1(substitute.nearest), QString::fromLatin1(substitute.fallback)});
    }
}
