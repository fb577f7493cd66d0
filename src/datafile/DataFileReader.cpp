#include "datafile/DataFileReader.h"

#include "base/KestrinError.h"

#include <QFile>
#include <algorithm>

namespace DataFileReader {
namespace {

constexpr char EndOfFile = '\x1A';

// The text as a line-by-line reader sees it: nothing after Ctrl-Z, no CR.
QByteArray TextPart(QByteArrayView bytes)
{
    const qsizetype end = bytes.indexOf(EndOfFile);
    QByteArray text = (end < 0 ? bytes : bytes.first(end)).toByteArray();
    text.removeIf([](char c) { return c == '\r'; });
    return text;
}

QString FileMessage(const char* what, const QFile& file)
{
    return QStringLiteral("Cannot %1 file \"%2\". %3")
        .arg(QLatin1String(what), file.fileName(), file.errorString());
}

} // namespace

QStringList SplitLines(QByteArrayView bytes)
{
    const QByteArray text = TextPart(bytes);
    QStringList lines;
    lines.reserve(text.count('\n') + 1);
    qsizetype pos = 0;
    while (pos < text.size()) {
        // One read: up to MaxLineRead characters, stopping after a line end.
        const QByteArrayView window = QByteArrayView(text).sliced(pos, std::min(MaxLineRead, text.size() - pos));
        const qsizetype lineEnd = window.indexOf('\n');
        const QByteArrayView line = lineEnd < 0 ? window : window.first(lineEnd);
        lines.append(QString::fromLatin1(line));
        pos += lineEnd < 0 ? window.size() : lineEnd + 1;
    }
    return lines;
}

QStringList ReadLines(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(FileMessage("open", file));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(FileMessage("read", file));
    return SplitLines(bytes);
}

} // namespace DataFileReader
