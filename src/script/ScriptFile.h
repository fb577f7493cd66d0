#pragma once

#include <QString>
#include <QStringList>

// Reading script files: the whole text (UTF-8), the two ways of cutting it into
// lines, and finding a script that EXEC names.

// The file's text. Throws FileError naming the file when it cannot be opened or read.
QString ReadScriptText(const QString& path);

// Lines ending at CR LF, a lone CR or a lone LF; a last line without a line end counts.
QStringList SplitScriptLines(const QString& text);

// Lines ending at CR LF or LF, each without its line end; a last line without
// a line end is left out, so every line kept is one the file ended.
QStringList CompleteScriptLines(const QString& text);

// The script file `name` in `folder`: the exact name first, then a file whose name
// differs only in letter case (EXEC upper-cases the name it is given). Empty when
// there is none; a folder of that name is not a script.
QString FindScriptFile(const QString& folder, const QString& name);
