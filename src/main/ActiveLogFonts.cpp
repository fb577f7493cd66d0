#include "main/ActiveLogFonts.h"

#include "windows/QtColour.h"

#include <algorithm>
#include <cmath>

void ActiveLogFonts::SetFont(const QFont& font)
{
    m_font = font;
    m_font.setKerning(false);
    m_rowHeight = std::max(1, int(std::ceil(QFontMetricsF(m_font).height())));
    m_widths.clear();
}

QTextCharFormat ActiveLogFonts::CharFormat(quint16 format) const
{
    const LogFormat& log = m_content.Format(format);
    QTextCharFormat chars;
    if (log.colour)
        chars.setForeground(ToQColor(*log.colour));
    if (log.bold)
        chars.setFontWeight(QFont::Bold);
    if (log.italic)
        chars.setFontItalic(true);
    return chars;
}

qreal ActiveLogFonts::Width(QChar c, quint16 format) const
{
    Widths& widths = WidthsOf(format);
    if (c.unicode() >= widths.latin.size())
        return widths.metrics.horizontalAdvance(c);
    qreal& width = widths.latin[c.unicode()];
    if (width < 0)
        width = widths.metrics.horizontalAdvance(c);
    return width;
}

ActiveLogFonts::Widths& ActiveLogFonts::WidthsOf(quint16 format) const
{
    if (format >= m_widths.size())
        m_widths.resize(format + 1);
    if (!m_widths[format]) {
        QFont font = m_font;
        const LogFormat& log = m_content.Format(format);
        font.setBold(log.bold);
        font.setItalic(log.italic);
        m_widths[format] = std::make_unique<Widths>(font);
    }
    return *m_widths[format];
}
