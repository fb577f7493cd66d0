// The Active Log as Save Active Log writes it: runs of text in any format, any
// UTF-16 text, and line ends. The document must be well formed 7-bit RTF, and a
// reader must get back exactly the text, line ends and format that went in.
//
// Input: runs one after another, each a byte of kind and format, the colour
// where that byte asks for one (three bytes, or one naming a palette entry), a
// byte of length and that many bytes of text, read as Latin-1 or UTF-16 as the
// first byte says.
#include "FuzzSupport.h"

#include "base/RtfWriter.h"
#include "common/RtfTextExtractor.h"


namespace {

constexpr quint32 Palette[] = {0x000000, 0x0000FF, 0x008000, 0x800000};

std::optional<quint32> ReadColour(Fuzz::Input& input, quint8 kind)
{
    switch (kind >> 6) {
    case 0:
        return std::nullopt;
    case 1: {
        const quint32 red = input.Byte();
        const quint32 green = input.Byte();
        return red | green << 8 | quint32(input.Byte()) << 16;
    }
    default:
        return Palette[input.Byte() % std::size(Palette)];
    }
}

QString ReadText(Fuzz::Input& input, bool utf16)
{
    const QByteArrayView bytes = input.Take(input.Byte());
    if (!utf16)
        return QString::fromLatin1(bytes);
    return QString(reinterpret_cast<const QChar*>(bytes.data()), bytes.size() / 2);
}

// Runs never hold a line end: a CR or LF in the text becomes a line end of its own.
void AppendRun(QList<TextRun>& runs, const TextRun& run)
{
    TextRun piece = run;
    piece.text.clear();
    for (const QChar c : run.text) {
        if (c == u'\r' || c == u'\n') {
            runs << piece << TextRun::LineEnd();
            piece.text.clear();
        } else {
            piece.text += c;
        }
    }
    runs << piece;
}

// What a reader sees of runs: no empty ones, neighbours of one format joined.
QList<TextRun> AsRead(const QList<TextRun>& runs)
{
    QList<TextRun> read;
    for (const TextRun& run : runs) {
        if (!run.lineEnd && run.text.isEmpty())
            continue;
        if (!run.lineEnd && !read.isEmpty() && !read.last().lineEnd && read.last().SameFormat(run))
            read.last().text += run.text;
        else
            read << run;
    }
    return read;
}

bool IsHexDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }
bool IsLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsDigit(char c) { return c >= '0' && c <= '9'; }

// 7-bit text, balanced groups that close once at the end, and every backslash
// starting a control word, an escaped character or a \'hh byte.
void CheckWellFormed(const QByteArray& rtf)
{
    Fuzz::Require(rtf.startsWith("{\\rtf1"), "the document starts as RTF");
    int depth = 0;
    for (qsizetype i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        Fuzz::Require((c >= 0x20 && c < 0x7F) || c == '\r' || c == '\n', "the document is 7-bit text");
        if (c == '{') {
            ++depth;
        } else if (c == '}') {
            Fuzz::Require(--depth >= 0, "no group closes that was not opened");
            Fuzz::Require(depth > 0 || rtf.sliced(i + 1) == "\r\n", "nothing follows the document's group");
        } else if (c == '\\') {
            const char next = i + 1 < rtf.size() ? rtf[i + 1] : '\0';
            if (IsLetter(next)) {
                while (i + 1 < rtf.size() && IsLetter(rtf[i + 1]))
                    ++i;
                if (i + 1 < rtf.size() && rtf[i + 1] == '-')
                    ++i;
                while (i + 1 < rtf.size() && IsDigit(rtf[i + 1]))
                    ++i;
            } else if (next == '\'') {
                Fuzz::Require(i + 3 < rtf.size() && IsHexDigit(rtf[i + 2]) && IsHexDigit(rtf[i + 3]),
                              "\\' is followed by two hexadecimal digits");
                i += 3;
            } else {
                Fuzz::Require(next == '\\' || next == '{' || next == '}', "a backslash starts a control");
                ++i;
            }
        }
    }
    Fuzz::Require(depth == 0, "every group is closed");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Fuzz::Input input(data, size);
    QList<TextRun> runs;
    while (!input.AtEnd()) {
        const quint8 kind = input.Byte();
        if ((kind & 7) == 0) {
            runs << TextRun::LineEnd();
            continue;
        }
        TextRun run;
        run.bold = kind & 8;
        run.italic = kind & 16;
        run.colour = ReadColour(input, kind);
        run.text = ReadText(input, kind & 32);
        AppendRun(runs, run);
    }
    const QByteArray rtf = WriteRtf(runs);
    CheckWellFormed(rtf);
    Fuzz::Require(ExtractRuns(rtf) == AsRead(runs), "the text, line ends and format read back as written");
    return 0;
}
