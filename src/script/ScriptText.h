#pragma once

#include <QLatin1StringView>
#include <QString>

// The text handling of script lines. Positions are 0-based here; callers name the
// script's 1-based character numbers in their comments.
namespace ScriptText {

// Without blanks and control characters (anything up to the blank) at both ends.
QString Trimmed(const QString& text);

// Letters a to z upper-cased, everything else kept.
QString AsciiUpper(QStringView text);

// True when the first keyword.size() characters, upper-cased, equal the keyword.
bool BeginsWith(QStringView line, QLatin1StringView keyword);

// The text before the first `mark`; empty when there is no such mark.
QString UpTo(QStringView text, QChar mark);

// The text between the first two single quotes; empty with fewer than two.
QString BetweenQuotes(QStringView text);

// The text from `from` on without its last `drop` characters (empty if too short).
QString Inner(QStringView text, qsizetype from, qsizetype drop);

// The argument of a keyword ending in "(": the character after the keyword is
// taken to be the opening double quote, the argument runs to the next double quote.
QString DoubleQuoted(QStringView line, qsizetype keywordLength);

// A piece by 1-based start and count: a start below 1 counts as 1, a count past
// the end stops there, a count below 1 or a start past the end gives the empty text.
QString Piece(const QString& text, qint64 start, qint64 count);

// 32-bit signed addition that wraps instead of overflowing.
qint32 WrappingAdd(qint32 a, qint32 b);

} // namespace ScriptText
