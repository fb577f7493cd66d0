// Two transcript files as --check meets them: the expected one and the one a run
// wrote. Whatever the bytes, reading either ends in its lines or a clear error;
// a transcript always matches itself, and reading it back as written changes
// nothing.
//
// Input: a byte giving where the expected file ends (as a share of the rest),
// then both files.
#include "FuzzSupport.h"

#include "base/KestrinError.h"
#include "trace/TranscriptCheck.h"

#include <optional>

namespace {

std::optional<QStringList> Read(QByteArrayView contents, const QString& name)
{
    try {
        return ReadTranscript(contents.toByteArray(), name);
    } catch (const KestrinError&) {
        return std::nullopt;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    const quint8 share = input.Byte();
    const qsizetype rest = size > 0 ? qsizetype(size) - 1 : 0;
    const QByteArrayView expectedFile = input.Take(rest * share / 255);
    const QByteArrayView seenFile = input.Take(rest);

    const std::optional<QStringList> expected = Read(expectedFile, QStringLiteral("expected"));
    const std::optional<QStringList> seen = Read(seenFile, QStringLiteral("seen"));
    if (expected) {
        Fuzz::Require(TranscriptDifference(*expected, *expected, {}, {}).isEmpty(), "a transcript matches itself");
        const std::optional<QStringList> again = Read(expected->join(u'\n').toUtf8(), QStringLiteral("again"));
        Fuzz::Require(again && TranscriptDifference(*expected, *again, {}, {}).isEmpty(),
                      "a transcript read back as written is the same");
    }
    if (expected && seen) {
        const QString difference = TranscriptDifference(*expected, *seen, QStringLiteral("expected"),
                                                         QStringLiteral("seen"));
        Fuzz::Require(difference.isEmpty() || difference.startsWith(u"--- expected"),
                      "a difference is a unified diff, expected against seen");
    }
    return 0;
}
