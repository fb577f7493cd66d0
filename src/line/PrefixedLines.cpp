#include "line/PrefixedLines.h"

#include <QStringList>

QString PrefixedLines::Take(const QString& text)
{
    m_open += text;
    const qsizetype end = m_open.lastIndexOf(u'\n');
    if (end < 0)
        return {};
    QString lines;
    for (const QString& line : m_open.left(end).split(u'\n'))
        lines += m_prefix + line + u'\n';
    m_open.remove(0, end + 1);
    return lines;
}

QString PrefixedLines::Finish()
{
    if (m_open.isEmpty())
        return {};
    return m_prefix + std::exchange(m_open, {}) + u'\n';
}
