#pragma once

#include "main/ActiveLogRows.h"

#include <QFont>
#include <QFontMetricsF>
#include <QTextCharFormat>
#include <array>
#include <memory>
#include <vector>

// The fonts the Active Log draws its formats in, and the widths of their characters.
// Kerning is off, so a row is exactly as wide as its characters together.
class ActiveLogFonts : public LogCharWidths {
public:
    explicit ActiveLogFonts(const ActiveLogContent& content) : m_content(content) {}

    void SetFont(const QFont& font);
    const QFont& Font() const { return m_font; }
    int RowHeight() const { return m_rowHeight; }
    // What text in `format` is drawn with, over the font.
    QTextCharFormat CharFormat(quint16 format) const;

    qreal Width(QChar c, quint16 format) const override;
    qreal TabDistance() const override { return DefaultTabDistance; }

    static constexpr qreal DefaultTabDistance = 80;

private:
    struct Widths {
        explicit Widths(const QFont& font) : metrics(font) { latin.fill(-1); }
        QFontMetricsF metrics;
        std::array<qreal, 256> latin;
    };
    Widths& WidthsOf(quint16 format) const;

    const ActiveLogContent& m_content;
    QFont m_font;
    int m_rowHeight = 1;
    mutable std::vector<std::unique_ptr<Widths>> m_widths; // by format, made when first needed
};
