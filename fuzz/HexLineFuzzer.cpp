// A command line as the operator might type it into Send Data or a script's
// SEND, and a data-file line: decoded into bytes. And the same text as a count
// (WAIT, REPEAT, the delays) converted to a whole number.
#include "FuzzSupport.h"

#include "base/KestrinError.h"
#include "base/TextToInt.h"
#include "datafile/DataTransmitter.h"
#include "link/CommandLine.h"
#include "link/HexToken.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const QString line = QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size));
    const QList<QStringView> tokens = QStringView(line).split(u' ', Qt::SkipEmptyParts);
    const bool allHex =
        std::all_of(tokens.begin(), tokens.end(), [](QStringView token) { return ScanHex(token).has_value(); });
    try {
        const QByteArray bytes = DecodeCommand(line);
        Fuzz::Require(allHex && bytes.size() == tokens.size(),
                      "every token gives one byte, so every byte keeps its position");
        Fuzz::Require(DecodeCommand(ResponseText(bytes)) == bytes, "the response text of bytes decodes to them");
    } catch (const HexLineError&) {
        Fuzz::Require(!allHex, "only a token that is no hexadecimal number refuses a line");
    }
    try {
        const std::optional<QByteArray> lineBytes = DataTransmitter::LineBytes(line, {});
        Fuzz::Require(lineBytes.has_value() == !tokens.isEmpty() && (!lineBytes || lineBytes->size() <= tokens.size()),
                      "a data line gives at most one byte per token");
    } catch (const HexLineError&) {
        Fuzz::Require(!allHex, "only a token that is no hexadecimal number refuses a data line");
    }
    if (const std::optional<quint32> value = ScanHex(line))
        Fuzz::Require(ScanHex(HexText(*value)) == value, "a scanned number reads back from its text");
    if (const std::optional<qint32> count = ParseInt(line)) {
        Fuzz::Require(std::all_of(line.begin(), line.end(), [](QChar c) { return c.unicode() < 0x80; }),
                      "only ASCII digits make a number");
        Fuzz::Require(ParseInt(QString::number(*count)) == count, "a number reads back from its decimal text");
    }
    return 0;
}
