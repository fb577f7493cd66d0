#pragma once

#include <QString>

// A card run's output passed on a line at a time with the interface and card in
// front ("[ttyUSB0 #3] 3F 65 25 ..."), so the lines of runs side by side stay
// apart. A line is passed on once it is whole.
class PrefixedLines {
public:
    explicit PrefixedLines(QString prefix) : m_prefix(std::move(prefix)) {}

    // The lines that `text` completes, each prefixed and ended.
    QString Take(const QString& text);
    // The last line, if it was left open, prefixed and ended.
    QString Finish();

private:
    QString m_prefix;
    QString m_open; // the start of a line still to be ended
};
