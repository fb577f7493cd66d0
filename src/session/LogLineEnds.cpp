#include "session/LogLineEnds.h"

#include <algorithm>

namespace ActiveLogText {
namespace {

bool NeedsNormalising(QChar c)
{
    const char16_t unit = c.unicode();
    return unit == u'\r' || unit == QChar::ParagraphSeparator || unit == 0xFDD0 || unit == 0xFDD1;
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

} // namespace ActiveLogText
