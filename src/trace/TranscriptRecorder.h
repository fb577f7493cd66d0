#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// Records a run as its transcript (see Transcript.h) while it happens.
// Consecutive bytes of one direction form one event however they were handed
// over or read. Text becomes a line when its line ends ("\r\n", "\r" or "\n");
// what follows the last line end is held until then, and is a line of its own
// at the end of the transcript.
class TranscriptRecorder {
public:
    void Sent(QByteArrayView cardValues) { AddBytes(Kind::Sent, cardValues); }
    void Received(QByteArrayView cardValues) { AddBytes(Kind::Received, cardValues); }
    void Text(const QString& text);
    void Box(const QString& text);

    // The transcript's lines, the header first.
    QStringList Lines() const;
    // The lines as a file: UTF-8, each line ended by LF.
    QByteArray FileText() const;

private:
    enum class Kind : char { Sent, Received, Text, Box };
    struct Event {
        Kind kind;
        QByteArray bytes;
        QString text;
    };

    void AddBytes(Kind kind, QByteArrayView bytes);

    QList<Event> m_events;
    QString m_heldText;
};
