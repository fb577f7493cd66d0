#include "base/RtfWriter.h"

#include "base/Colours.h"
#include "base/SaveFile.h"

namespace {

// The colours of the colour table, in order of first use; entry 0 of the table
// is the automatic colour, so colour i is written as \cf(i+1).
QList<quint32> UsedColours(const QList<TextRun>& runs)
{
    QList<quint32> colours;
    for (const TextRun& run : runs) {
        if (!run.lineEnd && run.colour && !colours.contains(*run.colour))
            colours.append(*run.colour);
    }
    return colours;
}

QByteArray Header(const QList<quint32>& colours)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1"
                     "{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}}\r\n{\\colortbl ;";
    for (quint32 colour : colours) {
        rtf += "\\red" + QByteArray::number(Colours::RedOf(colour)) + "\\green" +
               QByteArray::number(Colours::GreenOf(colour)) + "\\blue" +
               QByteArray::number(Colours::BlueOf(colour)) + ';';
    }
    return rtf + "}\r\n\\pard\\plain\\f0\\fs20 ";
}

// The control words that turn the format of `from` into that of `to`.
QByteArray FormatChange(const TextRun& from, const TextRun& to, const QList<quint32>& colours)
{
    QByteArray words;
    if (to.bold != from.bold)
        words += to.bold ? "\\b" : "\\b0";
    if (to.italic != from.italic)
        words += to.italic ? "\\i" : "\\i0";
    if (to.colour != from.colour)
        words += "\\cf" + QByteArray::number(to.colour ? colours.indexOf(*to.colour) + 1 : 0);
    return words.isEmpty() ? words : words + ' ';
}

// Plain ASCII as it stands; Latin-1 letters as \'hh (the same in code page 1252);
// every other UTF-16 unit as \uN with "?" for readers that know no Unicode. A
// blank after a blank goes in a group of its own: LibreOffice reads a run of
// blanks as other characters.
void AppendEscaped(QByteArray& rtf, QStringView text, bool& afterBlank)
{
    for (QChar c : text) {
        const char16_t unit = c.unicode();
        if (unit == u' ' && afterBlank) {
            rtf += "{ }";
        } else if (unit == u'\\' || unit == u'{' || unit == u'}') {
            rtf += '\\';
            rtf += char(unit);
        } else if (unit == u'\t') {
            rtf += "\\tab ";
        } else if (unit >= 0x20 && unit < 0x7F) {
            rtf += char(unit);
        } else if (unit >= 0xA0 && unit <= 0xFF) {
            rtf += "\\'" + QByteArray::number(unit, 16);
        } else {
            rtf += "\\u" + QByteArray::number(qint16(unit)) + '?';
        }
        afterBlank = unit == u' ';
    }
}

} // namespace

QByteArray WriteRtf(const QList<TextRun>& runs)
{
    const QList<quint32> colours = UsedColours(runs);
    QByteArray rtf = Header(colours);
    TextRun current;
    bool afterBlank = false;
    for (const TextRun& run : runs) {
        if (run.lineEnd) {
            rtf += "\\par\r\n";
            afterBlank = false;
        } else if (!run.text.isEmpty()) {
            rtf += FormatChange(current, run, colours);
            current = run;
            AppendEscaped(rtf, run.text, afterBlank);
        }
    }
    return rtf + "}\r\n";
}

void SaveRtf(const QString& path, const QList<TextRun>& runs)
{
    SaveFile(path, WriteRtf(runs));
}
