#pragma once

#include <QList>
#include <QString>

// The sections of a profile file, each line's number kept for messages:
//   [kind name]    a section (the name may be empty)
//   key = value    a field of the section above; blanks around both dropped
//   # or ;         a comment line; blank lines are ignored
// Keys are compared in lower case with single blanks ("Record Size" = "record size").
struct ProfileField {
    QString key;
    QString value;
    int line = 0;
};

struct ProfileSection {
    QString kind; // lower case
    QString name;
    int line = 0;
    QList<ProfileField> fields;

    const ProfileField* find(const QString& key) const;
};

// Throws KestrinError naming `fileName` and the line of a line that is none of the above.
QList<ProfileSection> ReadProfileSections(const QByteArray& contents, const QString& fileName);

// "NAME, line N, FIELD: what" (the field left out when empty).
QString ProfileProblem(const QString& fileName, int line, const QString& field, const QString& what);
