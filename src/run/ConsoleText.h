#pragma once

#include <QString>

// The runner's two output streams, UTF-8, every line end as "\n".
namespace ConsoleText {

// Standard output: the Active Log. Flushed at every line end.
void WriteOut(const QString& text);
// At the end: a line left open is ended, so a shell's prompt starts on a line of its own.
void FinishOut();

// Standard error's last lines, when it is a terminal: a text shown in place
// (one line, or several apart by "\n", each cut to the terminal's width),
// erased before anything else is written there. Not shown while standard
// output is a terminal too and stands part-way through a line.
void ShowInPlace(const QString& text);
void EraseInPlace();

// Standard error: text as it is (a question, its answer to follow on the same line).
void WriteErr(const QString& text);
// Standard error: "kestrin-run: <text>" as a line of its own.
void SayError(const QString& text);
// Standard error: "<kind>: <text>", for the boxes and status texts of a run.
void SayNote(const QString& kind, const QString& text);

} // namespace ConsoleText
