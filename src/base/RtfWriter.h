#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

// One piece of formatted text, or a hard line end.
struct TextRun {
    QString text;                  // never holds a line end
    std::optional<quint32> colour; // 0x00BBGGRR; empty: the reader's automatic colour
    bool bold = false;
    bool italic = false;
    bool lineEnd = false;          // a hard line end; text and format are then unused

    static TextRun LineEnd()
    {
        TextRun run;
        run.lineEnd = true;
        return run;
    }
    bool SameFormat(const TextRun& other) const
    {
        return colour == other.colour && bold == other.bold && italic == other.italic;
    }
    bool operator==(const TextRun&) const = default;
};

// The runs as a rich-text (RTF 1) document: one sans font, a table of the colours
// used, a paragraph end for every line end.
QByteArray WriteRtf(const QList<TextRun>& runs);

// Writes WriteRtf(runs) as the whole file at `path`, replacing an existing one.
// Throws FileError naming the file and the system's reason when it cannot be
// written; a file that was there before is then left as it was.
void SaveRtf(const QString& path, const QList<TextRun>& runs);
