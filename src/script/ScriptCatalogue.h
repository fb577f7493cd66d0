#pragma once

#include <QString>
#include <QStringList>

// The Scripts page's reading of the script folder: the file list, a script's
// header and the lines that Load puts into the script editor.

// The version, description, author and date a script's header lines give;
// "N/A" for each field no line gives.
struct ScriptHeader {
    QString version = QStringLiteral("N/A");
    QString description = QStringLiteral("N/A");
    QString author = QStringLiteral("N/A");
    QString date = QStringLiteral("N/A");
};

// Every line that begins with VER, DESCRIPTION, AUTHOR or DATE (exact case) sets
// that field to the line from a fixed position on (5, 13, 8, 6, counted from 1),
// whatever the separator; the last such line of each key wins. The last line
// counts even without a line end.
ScriptHeader ScanScriptHeader(const QString& text);

// The header of a script file. Throws FileError naming the file when it cannot be read.
ScriptHeader ReadScriptHeader(const QString& path);

// The lines Load puts into the script editor: every line the file ends with CR LF
// or LF, empty ones included; a last line without a line end is left out. Throws
// FileError naming the file when it cannot be read.
QStringList LoadScriptLines(const QString& path);

// The names of the script files in `folder`: files (no folders, no hidden files)
// named "*.scr" in any letter case, sorted by name regardless of case.
QStringList ScriptFileNames(const QString& folder);
