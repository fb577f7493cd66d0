#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

// Reading a text file the operator chose: one byte per character (Latin-1),
// every CR dropped, LF ends a line, Ctrl-Z ends the file, and at most
// MaxLineRead characters are taken at a time, so a longer line arrives as
// consecutive pieces, each a line of its own.
namespace DataFileReader {

inline constexpr qsizetype MaxLineRead = 299;

// The lines of a file's bytes, terminators removed.
QStringList SplitLines(QByteArrayView bytes);

// The lines of the file at `path`; throws FileError naming the file when it
// cannot be opened or read.
QStringList ReadLines(const QString& path);

} // namespace DataFileReader
