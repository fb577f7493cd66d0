#include "windows/FileFilter.h"

QStringList NameFilters(const QString& filter)
{
    QStringList result;
    if (filter.isEmpty())
        return result;
    const QStringList parts = filter.split(u'|');
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        QString patterns = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        patterns.replace(u';', u' ');
        result << QStringLiteral("%1 (%2)").arg(parts[i].trimmed(), patterns.isEmpty() ? QStringLiteral("*") : patterns);
    }
    return result;
}
