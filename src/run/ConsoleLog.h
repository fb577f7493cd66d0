#pragma once

#include <QString>

// The Active Log of a run without a window: the same text the window's log
// shows, written to standard output as it grows (unless quiet) and kept whole
// for --log.
class ConsoleLog {
public:
    explicit ConsoleLog(bool live) : m_live(live) {}

    // "\r\n", a lone "\r" or "\n" is a line end.
    void Insert(const QString& text);
    // Empties the kept log; what standard output has shown stays shown.
    void Clear() { m_text.clear(); }

    // Writes the log as RTF when the path ends in ".rtf" (any case), else as
    // plain UTF-8 text. Throws FileError.
    void Save(const QString& path) const;

private:
    QString m_text; // line ends as "\n"
    bool m_live;
};
