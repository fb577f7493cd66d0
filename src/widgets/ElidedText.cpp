#include "widgets/ElidedText.h"

#include <QLabel>

namespace {

constexpr QChar Ellipsis{0x2026};

bool Fits(const QLabel& label, const QString& text, QSize room)
{
    const QFontMetrics metrics = label.fontMetrics();
    if (!label.wordWrap())
        return metrics.horizontalAdvance(text) <= room.width();
    const QRect unbounded(0, 0, room.width(), QWIDGETSIZE_MAX);
    return metrics.boundingRect(unbounded, Qt::TextWordWrap | label.alignment(), text).height() <= room.height();
}

// `kept` characters of `text`: its beginning and its end around an ellipsis.
QString KeepEnds(const QString& text, qsizetype kept)
{
    return text.left(kept - kept / 2) + Ellipsis + text.right(kept / 2);
}

// The longest middle-elided form of `text` that fits, found by halving.
QString ElidedToFit(const QLabel& label, const QString& text, QSize room)
{
    qsizetype fitting = 0;
    qsizetype tooLong = text.size();
    while (tooLong - fitting > 1) {
        const qsizetype kept = (fitting + tooLong) / 2;
        (Fits(label, KeepEnds(text, kept), room) ? fitting : tooLong) = kept;
    }
    return KeepEnds(text, fitting);
}

} // namespace

void ShowElided(QLabel& label, const QString& text, QSize room)
{
    label.ensurePolished(); // the style sheet's font is the one measured
    label.setTextFormat(Qt::PlainText);
    const bool fits = Fits(label, text, room);
    label.setText(fits ? text : ElidedToFit(label, text, room));
    label.setToolTip(fits ? QString() : text);
    label.setAccessibleName(text);
}
