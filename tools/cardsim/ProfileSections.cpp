#include "ProfileSections.h"

#include "base/KestrinError.h"

#include <QRegularExpression>

namespace {

QString Simplified(const QString& text)
{
    return text.simplified().toLower();
}

} // namespace

const ProfileField* ProfileSection::find(const QString& key) const
{
    for (const ProfileField& field : fields)
        if (field.key == key)
            return &field;
    return nullptr;
}

QList<ProfileSection> ReadProfileSections(const QByteArray& contents, const QString& fileName)
{
    const QStringList lines = QString::fromUtf8(contents).split(QRegularExpression(QStringLiteral("\r?\n")));
    QList<ProfileSection> sections;
    for (int index = 0; index < lines.size(); ++index) {
        const QString line = lines[index].trimmed();
        const int number = index + 1;
        if (line.isEmpty() || line.startsWith(u'#') || line.startsWith(u';'))
            continue;
        if (line.startsWith(u'[') && line.endsWith(u']')) {
            const QString title = line.mid(1, line.size() - 2).simplified();
            sections.append({Simplified(title.section(u' ', 0, 0)), title.section(u' ', 1), number, {}});
            continue;
        }
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0 || sections.isEmpty())
            throw KestrinError(ProfileProblem(fileName, number, {},
                                              QStringLiteral("expected [section] or key = value after a section")));
        sections.last().fields.append({Simplified(line.left(equals)), line.mid(equals + 1).trimmed(), number});
    }
    return sections;
}

QString ProfileProblem(const QString& fileName, int line, const QString& field, const QString& what)
{
    const QString where = QStringLiteral("%1, line %2").arg(fileName).arg(line);
    return field.isEmpty() ? QStringLiteral("%1: %2").arg(where, what) : QStringLiteral("%1, %2: %3").arg(where, field, what);
}
