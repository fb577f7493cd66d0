#pragma once

#include <QString>
#include <optional>

// Questions to the operator on the terminal, for answers the command line did
// not give.
namespace TerminalQuestion {

// Whether standard input is a terminal.
bool Available();

// Asks on standard error and reads one line of standard input, handling the
// program's events meanwhile (the link's bytes, a stop). Nothing at the end of
// the input, or once the program is closing.
std::optional<QString> Ask(const QString& question);

} // namespace TerminalQuestion
