#include "main/ActiveLogText.h"

namespace ActiveLogText {
namespace {

bool IsHexDigit(QChar c)
{
    const char16_t unit = c.unicode();
    return (unit >= u'0' && unit <= u'9') || (unit >= u'A' && unit <= u'F');
}

int DigitValue(QChar c)
{
    const char16_t unit = c.unicode();
    return unit <= u'9' ? unit - u'0' : unit - u'A' + 10;
}

} // namespace

bool IsByteAt(QStringView text, qsizetype at)
{
    return at + 2 < text.size() && IsHexDigit(text[at]) && IsHexDigit(text[at + 1]) && text[at + 2] == u' ';
}

quint8 ByteAt(QStringView text, qsizetype at) { return quint8(DigitValue(text[at]) << 4 | DigitValue(text[at + 1])); }

} // namespace ActiveLogText
