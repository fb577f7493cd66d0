// A replayed recording against the simulator's own card (target: at least as
// fast): the time each takes to answer the same session of recorded exchanges,
// byte by byte as the line brings them, in order and matched anywhere; and the
// time to read the recording's transcript.
// Argument: the number of exchanges (100,000).
#include "cardsim/RecordedSession.h"
#include "cardsim/ReplayCard.h"
#include "cardsim/T0Session.h"

#include "trace/TranscriptCheck.h"

#include <QElapsedTimer>
#include <cstdio>

namespace {

const char* const Commands[] = {"00 A4 00 00 02 00 01", "00 B0 00 00 10", "00 A4 00 00 02 00 02", "00 C0 00 00 0F",
                                "00 B2 03 04 10", "00 20 00 01 08 31 32 33 34 FF FF FF FF", "00 B0 00 00 04",
                                "00 CA 00 00 02"};

QList<QByteArray> Session(int exchanges)
{
    QList<QByteArray> lines;
    for (int index = 0; index < exchanges; ++index)
        lines << QByteArray::fromHex(Commands[index % std::size(Commands)]);
    return lines;
}

// Seconds for the card to answer every line; the answers' bytes through `answered`.
double Answer(T0Card& card, const QList<QByteArray>& lines, qint64& answered)
{
    QElapsedTimer timer;
    timer.start();
    answered = 0;
    for (const QByteArray& line : lines)
        for (const char byte : line)
            answered += card.feed(quint8(byte)).size();
    return timer.nsecsElapsed() / 1e9;
}

void Print(const char* what, double seconds, int exchanges)
{
    std::printf("%-34s %8.3f s, %10.0f exchanges a second\n", what, seconds, exchanges / seconds);
}

} // namespace

int main(int argc, char** argv)
{
    const int exchanges = argc > 1 ? std::max(100, atoi(argv[1])) : 100'000;
    const QList<QByteArray> lines = Session(exchanges);
    T0Session recorded;
    const QByteArray file = RecordSession(recorded, CardProfile::DefaultAtr(), lines, true).join(u'\n').toUtf8();

    QElapsedTimer timer;
    timer.start();
    const Recording recording = ReadRecording(ReadTranscript(file, QStringLiteral("bench")), QStringLiteral("bench"));
    std::printf("%-34s %8.3f s for %d exchanges (%lld bytes)\n", "reading the recording", timer.nsecsElapsed() / 1e9,
                exchanges, qint64(file.size()));

    qint64 own = 0, inOrder = 0, anywhere = 0;
    T0Session card;
    Print("the simulator's own card", Answer(card, lines, own), exchanges);
    ReplayCard replayed(recording, {});
    Print("the replayed card, in order", Answer(replayed, lines, inOrder), exchanges);
    ReplayCard anyOrder(recording, {true, QByteArray::fromHex("6D00")});
    Print("the replayed card, --any-order", Answer(anyOrder, lines, anywhere), exchanges);
    const bool same = own == inOrder && own == anywhere;
    std::printf("answers: %s (%lld bytes)\n", same ? "the same length each" : "DIFFER", own);
    return same ? 0 : 1;
}
