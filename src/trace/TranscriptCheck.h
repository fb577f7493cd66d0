#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Reading a transcript file and checking a run against it.

// The lines of a transcript file as the recorder would write them: comments and
// blank lines left out, consecutive lines of bytes of one direction joined into
// one event and wrapped again, byte texts in upper case, "??" kept. Throws
// KestrinError naming `name` and the line when the file is not a transcript.
QStringList ReadTranscript(const QByteArray& contents, const QString& name);
// ReadTranscript of the file at `path`; throws FileError when it cannot be read.
QStringList LoadTranscript(const QString& path);

// Whether a seen line matches an expected one: "??" in place of a byte matches
// any byte, and text lines match regardless of blanks at their ends.
bool TranscriptLineMatches(QStringView expected, QStringView seen);

// Empty when the bytes sent, the bytes received and the lines shown each match
// in order, and the card's answer to reset came before anything was sent as it
// did in `expected`; where the streams interleave otherwise depends on timing.
// Otherwise a unified diff of `expected` against `seen` laid out as it (or as
// it went, when the answer to reset came later).
QString TranscriptDifference(const QStringList& expected, const QStringList& seen, const QString& expectedName,
                             const QString& seenName);
