#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// A loaded data file: every line for the Data File pane, and the kept text of
// every line that is neither a comment nor blank for the Raw Data pane, with
// the number of the file's line each came from (1-based, as an editor counts:
// the pieces of a line longer than one read share its number).
struct DataFile {
    QStringList lines;
    QStringList rawLines;
    QList<qsizetype> rawLineNumbers;
};

// The kept text of one line as read, or nothing for a comment (first character
// ";" or ":") or a blank line (empty, or only characters with codes 0 to 32).
// The kept text runs up to and including the line's first ":", else its first
// ";", else it is the whole line.
std::optional<QString> KeptText(const QString& line);

// Both panes' lines from the lines of a file.
DataFile ClassifyLines(const QStringList& lines);

// "iccid.dat line 4": the path as given and a line number of the file.
QString FileLinePlace(const QString& path, qsizetype lineNumber);

// Reads and classifies the file at `path`; throws FileError when it cannot be read.
DataFile LoadDataFile(const QString& path);
