#include "main/ActiveLogText.h"

#include <algorithm>

namespace ActiveLogText {
namespace {

bool NeedsNormalising(QChar c)
{
    const char16_t unit = c.unicode();
    return unit == u'\r' || unit == QChar::ParagraphSeparator || unit == 0xFDD0 || unit == 0xFDD1;
}

// The end of the piece that starts at `start` and would run on past maxLength.
qsizetype PieceEnd(QStringView line, qsizetype start, qsizetype maxLength)
{
    const qsizetype limit = start + maxLength;
    for (qsizetype end = limit; end > limit - maxLength / 4; --end) {
        if (line[end - 1] == u' ')
            return end;
    }
    return maxLength > 1 && line[limit - 1].isHighSurrogate() ? limit - 1 : limit;
}

} // namespace

QString NormalisedLineEnds(QString text)
{
    if (std::none_of(text.cbegin(), text.cend(), NeedsNormalising))
        return text;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(u'\r', u'\n');
    text.replace(QChar::ParagraphSeparator, u'\n');
    text.replace(QChar(0xFDD0), QChar::ReplacementCharacter);
    text.replace(QChar(0xFDD1), QChar::ReplacementCharacter);
    return text;
}

QList<qsizetype> BlockCuts(QStringView line, qsizetype maxLength)
{
    QList<qsizetype> cuts;
    for (qsizetype start = 0; line.size() - start > maxLength;) {
        start = PieceEnd(line, start, maxLength);
        cuts.append(start);
    }
    return cuts;
}

} // namespace ActiveLogText
