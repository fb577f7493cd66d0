#pragma once

#include <QString>

class QCommandLineParser;

// How the programs speak on standard error: their command's name, then the
// text, on a line of its own ("kestrin-run: unknown option '--x' (see --help)").
namespace ProgramMessages {

void Say(const QString& program, const QString& text);
// Says the text, then ends the process with `status`.
[[noreturn]] void Fail(const QString& program, const QString& text, int status);
// A sentence as a clause of another: its first letter lowered (unless the
// word is an abbreviation such as "PC/SC") and its full stop dropped.
QString AsClause(QString sentence);
// A command line that the parser refused, worded as kestrin-run words its own.
QString ParserError(const QCommandLineParser& parser);

} // namespace ProgramMessages
