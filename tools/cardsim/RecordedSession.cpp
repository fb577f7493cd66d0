#include "RecordedSession.h"

#include "trace/TranscriptRecorder.h"

QStringList RecordSession(T0Card& card, const QByteArray& atr, const QList<QByteArray>& lines, bool echo)
{
    TranscriptRecorder recorder;
    recorder.Received(atr);
    for (const QByteArray& line : lines) {
        recorder.Sent(line);
        QByteArray back;
        for (const char byte : line)
            back += (echo ? QByteArray(1, byte) : QByteArray()) + card.feed(quint8(byte));
        recorder.Received(back);
    }
    return recorder.Lines();
}
