#include "datafile/DataFile.h"

#include "datafile/DataFileReader.h"

#include <QDir>
#include <algorithm>

namespace {

bool IsComment(const QString& line)
{
    return line.startsWith(u';') || line.startsWith(u':');
}

bool IsBlank(const QString& line)
{
    return std::all_of(line.begin(), line.end(), [](QChar c) { return c.unicode() <= 32; });
}

} // namespace

std::optional<QString> KeptText(const QString& line)
{
    if (IsComment(line) || IsBlank(line))
        return std::nullopt;
    qsizetype separator = line.indexOf(u':');
    if (separator < 0)
        separator = line.indexOf(u';');
    return separator < 0 ? line : line.first(separator + 1);
}

DataFile ClassifyLines(const QStringList& lines)
{
    DataFile file;
    file.lines = lines;
    qsizetype lineNumber = 1;
    for (const QString& line : lines) {
        if (auto kept = KeptText(line)) {
            file.rawLines.append(std::move(*kept));
            file.rawLineNumbers.append(lineNumber);
        }
        // Only a whole read goes on in the next piece (see DataFileReader).
        lineNumber += line.size() < DataFileReader::MaxLineRead;
    }
    return file;
}

QString FileLinePlace(const QString& path, qsizetype lineNumber)
{
    return QStringLiteral("%1 line %2").arg(QDir::toNativeSeparators(path)).arg(lineNumber);
}

DataFile LoadDataFile(const QString& path)
{
    return ClassifyLines(DataFileReader::ReadLines(path));
}
