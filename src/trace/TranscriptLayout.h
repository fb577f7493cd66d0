#pragma once

#include <QStringList>

// What a transcript says, each kind in its own order: the bytes sent, the bytes
// received and the lines shown (text and boxes, with their marks). How the three
// interleave depends on timing (an echo a few milliseconds later comes after the
// next piece sent), except that the card's answer to reset comes before the
// program sends anything.
struct TranscriptStreams {
    // Lines as the recorder writes them, the header first.
    explicit TranscriptStreams(const QStringList& lines);

    QStringList sent;     // byte texts
    QStringList received; // byte texts
    QStringList shown;
    qsizetype answerToReset = 0; // bytes received before the first byte sent
};

// `seen` laid out as `expected`: each event of `expected` takes the next bytes
// of its direction from `seen` (as many as it holds), each line shown the next
// line shown; whatever `seen` holds beyond that follows in its own order. So the
// result matches `expected` line by line exactly when each stream matches.
QStringList LaidOutAs(const QStringList& expected, const QStringList& seen);
