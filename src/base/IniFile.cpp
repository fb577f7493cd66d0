#include "base/IniFile.h"

#include "base/KestrinError.h"
#include "base/TextToInt.h"

#include <QFile>
#include <QSaveFile>

namespace {

// The section name of a "[name]" line, or an empty optional for any other line.
std::optional<QString> SectionName(const QString& line)
{
    const QString trimmed = line.trimmed();
    if (!trimmed.startsWith(u'[') || !trimmed.contains(u']'))
        return std::nullopt;
    return trimmed.mid(1, trimmed.indexOf(u']') - 1).trimmed();
}

bool IsKeyLine(const QString& line, const QString& key)
{
    const qsizetype equals = line.indexOf(u'=');
    return equals >= 0 && line.left(equals).trimmed().compare(key, Qt::CaseInsensitive) == 0;
}

// Index range [first, end) of the lines inside a section; first is -1 when it is missing.
std::pair<qsizetype, qsizetype> SectionRange(const QStringList& lines, const QString& section)
{
    qsizetype first = -1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const auto name = SectionName(lines[i]);
        if (!name)
            continue;
        if (first >= 0)
            return {first, i};
        if (name->compare(section, Qt::CaseInsensitive) == 0)
            first = i + 1;
    }
    return {first, lines.size()};
}

} // namespace

QStringList IniFile::readLines(bool* crlf) const
{
    QFile file(m_path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QString text = QString::fromLatin1(file.readAll());
    if (crlf)
        *crlf = text.contains(QLatin1String("\r\n"));
    QStringList lines = text.split(u'\n');
    for (QString& line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

bool IniFile::HasSection(const QString& section) const
{
    return SectionRange(readLines(), section).first >= 0;
}

QString IniFile::ReadString(const QString& section, const QString& key, const QString& fallback) const
{
    const QStringList lines = readLines();
    const auto [first, end] = SectionRange(lines, section);
    for (qsizetype i = first; first >= 0 && i < end; ++i)
        if (IsKeyLine(lines[i], key))
            return lines[i].mid(lines[i].indexOf(u'=') + 1).trimmed();
    return fallback;
}

qint32 IniFile::ReadInteger(const QString& section, const QString& key, qint32 fallback) const
{
    return ParseInt(ReadString(section, key, QString())).value_or(fallback);
}

void IniFile::WriteString(const QString& section, const QString& key, const QString& value)
{
    bool crlf = false;
    QStringList lines = readLines(&crlf);
    const QString entry = key + u'=' + value;
    auto [first, end] = SectionRange(lines, section);
    if (first < 0) {
        lines << u'[' + section + u']' << entry;
    } else {
        qsizetype at = first;
        while (at < end && !IsKeyLine(lines[at], key))
            ++at;
        if (at < end) {
            lines[at] = entry;
        } else {
            while (end > first && lines[end - 1].trimmed().isEmpty())
                --end; // a new key goes after the section's last line, before blank ones
            lines.insert(end, entry);
        }
    }
    const QString newline = crlf ? QStringLiteral("\r\n") : QStringLiteral("\n");
    QSaveFile file(m_path);
    const bool written = file.open(QIODevice::WriteOnly)
                         && file.write((lines.join(newline) + newline).toLatin1()) >= 0 && file.commit();
    if (!written)
        throw FileError(QStringLiteral("Unable to write to %1").arg(m_path));
}
