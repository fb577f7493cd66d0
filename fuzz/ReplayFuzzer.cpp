// The replayed card: a transcript to replay, then bytes from the program.
// Whatever the bytes, reading the recording ends in a recording or a clear error;
// the card takes every byte; and a recording's own commands, sent in order from
// a reset, get exactly the answers recorded.
//
// Input: a byte giving where the transcript ends (as a share of the rest), a
// byte of options, then the transcript and the program's bytes.
#include "FuzzSupport.h"

#include "base/KestrinError.h"
#include "cardsim/ReplayCard.h"
#include "trace/TranscriptCheck.h"

#include <optional>

namespace {

std::optional<Recording> Read(QByteArrayView file)
{
    try {
        return ReadRecording(ReadTranscript(file.toByteArray(), QStringLiteral("fuzz")), QStringLiteral("fuzz"));
    } catch (const KestrinError&) {
        return std::nullopt;
    }
}

// A command with "??" bytes matches anything there; its answers are checked as recorded.
void RequireRecordedAnswers(ReplayCard& card, const Recording& recording)
{
    card.reset();
    for (const RecordedExchange& exchange : recording.exchanges) {
        QByteArray answered;
        for (const char byte : exchange.command)
            answered += card.feed(quint8(byte));
        Fuzz::Require(answered == exchange.reply(), "a recorded command in order gets its recorded answer");
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    const quint8 share = input.Byte();
    const quint8 options = input.Byte();
    const qsizetype rest = size > 2 ? qsizetype(size) - 2 : 0;
    const std::optional<Recording> recording = Read(input.Take(rest * share / 255));
    if (!recording)
        return 0;
    ReplayCard card(*recording, {bool(options & 1), QByteArray::fromHex("6D00")});
    for (const char byte : input.Take(rest))
        card.feed(quint8(byte));
    RequireRecordedAnswers(card, *recording);
    return 0;
}
