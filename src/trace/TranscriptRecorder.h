#pragma once

#include "link/LinkTimeline.h"

#include <QByteArray>
#include <QByteArrayView>
#include <QList>
#include <QString>
#include <QStringList>

// Records a run as its transcript (see Transcript.h) while it happens.
// Consecutive bytes of one direction form one event however they were written
// or read. An interface's echo of bytes sent is held until the card's next byte
// (or text, or the end): bytes sent before it join the bytes it repeats, so a
// command and its echo stand together however the echo was timed. Text becomes
// a line when its line ends ("\r\n", "\r" or "\n"); what follows the last line
// end is held until then, and is a line of its own at the end of the transcript.
class TranscriptRecorder {
public:
    void Sent(QByteArrayView cardValues);
    void Received(QByteArrayView cardValues);
    // Records the bytes sent and received of the timeline's events since the last
    // call: what the link wrote and read, in the order it happened.
    void Follow(const LinkTimeline& timeline);
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
    bool IsEcho(char byte);
    void ReleaseEchoes();

    QList<Event> m_events;
    QByteArray m_unechoed;    // bytes sent from m_echoed on have not been repeated
    qsizetype m_echoed = 0;
    QByteArray m_heldEchoes;
    QString m_heldText;
    qsizetype m_followed = 0; // the timeline's events recorded
};
