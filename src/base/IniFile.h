#pragma once

#include <QString>
#include <QStringList>

// A settings file in the Windows profile format: [section] lines and key=value
// lines. Section and key names match without regard to case; values are taken
// as they stand (blanks around them dropped); writing a value keeps the rest of
// the file as it was.
class IniFile {
public:
    explicit IniFile(QString path) : m_path(std::move(path)) {}

    const QString& path() const { return m_path; }
    bool HasSection(const QString& section) const;
    QString ReadString(const QString& section, const QString& key, const QString& fallback) const;
    // The value as a whole number (decimal, "$" or "0x" hexadecimal); the fallback otherwise.
    qint32 ReadInteger(const QString& section, const QString& key, qint32 fallback) const;
    // Throws FileError "Unable to write to <path>" when the file cannot be written.
    void WriteString(const QString& section, const QString& key, const QString& value);

private:
    QStringList readLines(bool* crlf = nullptr) const;

    QString m_path;
};
