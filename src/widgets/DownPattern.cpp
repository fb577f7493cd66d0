#include "widgets/DownPattern.h"

#include "widgets/GlyphImages.h"
#include "widgets/SystemColours.h"

#include <QPixmap>
#include <optional>

namespace {
std::optional<QPixmap>& Pattern()
{
    static std::optional<QPixmap> pattern;
    return pattern;
}
} // namespace

const QPixmap& SharedDownPattern()
{
    if (!Pattern()) {
        const QImage image = MakeDownPattern(ResolveColour(SystemColour::ButtonFace),
                                             ResolveColour(SystemColour::ButtonHighlight));
        Pattern() = QPixmap::fromImage(image);
    }
    return *Pattern();
}

void ReleaseDownPattern() { Pattern().reset(); }
