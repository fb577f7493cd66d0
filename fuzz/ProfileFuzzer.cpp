// A card profile file as --profile meets it. Whatever the bytes, reading ends in
// a profile or a clear error naming the file and line; a profile written out
// reads back the same, and its card answers any command without breaking.
#include "FuzzSupport.h"

#include "base/KestrinError.h"
#include "cardsim/CardProfileFile.h"
#include "cardsim/T0Session.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QByteArray contents(reinterpret_cast<const char*>(data), qsizetype(size));
    CardProfile profile;
    try {
        profile = ReadCardProfile(contents, QStringLiteral("fuzz.card"));
    } catch (const KestrinError& error) {
        Fuzz::Require(error.message().startsWith(u"fuzz.card, line "), "an error names the file and line");
        return 0;
    }
    Fuzz::Require(ReadCardProfile(CardProfileText(profile).toUtf8(), QStringLiteral("again")) == profile,
                  "a profile written out reads back the same");
    T0Session card(profile);
    for (const char* command : {"00A4000002", "3F00", "00A4000002", "0001", "00B0000010", "00B2010400", "0020000108"})
        for (const char byte : QByteArray::fromHex(command))
            card.feed(quint8(byte));
    return 0;
}
