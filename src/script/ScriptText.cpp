#include "script/ScriptText.h"

#include <algorithm>

namespace ScriptText {

QString Trimmed(const QString& text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] <= u' ')
        ++first;
    while (last > first && text[last - 1] <= u' ')
        --last;
    return first == 0 && last == text.size() ? text : text.sliced(first, last - first);
}

QString AsciiUpper(QStringView text)
{
    QString upper = text.toString();
    for (QChar& c : upper)
        if (c >= u'a' && c <= u'z')
            c = QChar(c.unicode() - (u'a' - u'A'));
    return upper;
}

bool BeginsWith(QStringView line, QLatin1StringView keyword)
{
    if (line.size() < keyword.size())
        return false;
    for (qsizetype i = 0; i < keyword.size(); ++i) {
        const char16_t c = line[i].unicode();
        const char16_t upper = c >= u'a' && c <= u'z' ? c - (u'a' - u'A') : c;
        if (upper != char16_t(keyword[i].unicode()))
            return false;
    }
    return true;
}

QString UpTo(QStringView text, QChar mark)
{
    const qsizetype at = text.indexOf(mark);
    return at < 0 ? QString() : text.left(at).toString();
}

QString BetweenQuotes(QStringView text)
{
    const qsizetype open = text.indexOf(u'\'');
    return open < 0 ? QString() : UpTo(text.sliced(open + 1), u'\'');
}

QString Inner(QStringView text, qsizetype from, qsizetype drop)
{
    const qsizetype length = text.size() - from - drop;
    return length <= 0 ? QString() : text.sliced(from, length).toString();
}

QString DoubleQuoted(QStringView line, qsizetype keywordLength)
{
    const qsizetype start = keywordLength + 1;
    return start > line.size() ? QString() : UpTo(line.sliced(start), u'"');
}

QString Piece(const QString& text, qint64 start, qint64 count)
{
    start = std::max<qint64>(start, 1);
    if (count < 1 || start > text.size())
        return {};
    return text.sliced(start - 1, std::min<qint64>(count, text.size() - start + 1));
}

qint32 WrappingAdd(qint32 a, qint32 b)
{
    return static_cast<qint32>(static_cast<quint32>(a) + static_cast<quint32>(b));
}

} // namespace ScriptText
