#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

// One command of a recorded session as the card saw it: the bytes it received
// and what it sent back, and when.
struct RecordedExchange {
    struct Answer {
        qsizetype after = 0; // the card sent these once it had this many command bytes
        QByteArray bytes;
    };

    QByteArray command;   // header and data
    QByteArray anyByte;   // empty, or a flag per command byte: "??" in the recording, any byte
    QList<Answer> answers;

    bool matches(qsizetype index, quint8 byte) const
    {
        return quint8(command[index]) == byte || (!anyByte.isEmpty() && anyByte[index]);
    }
    QByteArray reply() const; // every answer, in order
};

// The card of a recorded session: its ATR and its exchanges in order. An echoing
// interface's echo is told apart from the card's bytes: a recording echoes when
// most bytes sent come back first, and then each received byte that equals the
// next byte awaiting its echo is that echo. A command ends with an answer whose
// last byte is not a procedure byte (INS, INS xor FF, 60). Bytes the card sends
// between commands after the first ATR (a reset's ATR) are left out.
struct Recording {
    QByteArray atr;
    std::vector<RecordedExchange> exchanges;
};

// The recording of a transcript's lines (as ReadTranscript gives them). Throws
// KestrinError naming `name` when it holds no ATR or "??" among the card's bytes.
Recording ReadRecording(const QStringList& transcript, const QString& name);
// ReadRecording of the transcript file at `path`; throws KestrinError or FileError.
Recording LoadRecording(const QString& path);
