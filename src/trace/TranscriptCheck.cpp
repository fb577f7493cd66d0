#include "trace/TranscriptCheck.h"

#include "base/KestrinError.h"
#include "base/TextToInt.h"
#include "trace/Transcript.h"
#include "trace/TranscriptLayout.h"
#include "trace/UnifiedDiff.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

namespace {

using namespace Transcript;

// Two hexadecimal digits, or "??".
bool IsByteText(QStringView token)
{
    return token.size() == 2 && (token == u"??" || (HexDigit(token[0]) >= 0 && HexDigit(token[1]) >= 0));
}

QString Problem(const QString& name, qsizetype lineIndex, const QString& what)
{
    return QStringLiteral("%1, line %2: %3").arg(name).arg(lineIndex + 1).arg(what);
}

} // namespace

QStringList ReadTranscript(const QByteArray& contents, const QString& name)
{
    const QStringList fileLines = QString::fromUtf8(contents).split(QRegularExpression(QStringLiteral("\r?\n")));
    if (fileLines.first() != Header)
        throw KestrinError(Problem(name, 0, QStringLiteral("a transcript begins with \"%1\"").arg(Header)));
    QStringList lines{Header};
    EventJoiner joiner(lines);
    for (qsizetype index = 1; index < fileLines.size(); ++index) {
        const QString& line = fileLines[index];
        if (line.trimmed().isEmpty() || line.startsWith(u'#'))
            continue;
        const QChar mark = line[0];
        if (IsByteMark(mark)) {
            const QStringList byteTexts = line.sliced(1).toUpper().split(u' ', Qt::SkipEmptyParts);
            for (const QString& token : byteTexts)
                if (!IsByteText(token))
                    throw KestrinError(Problem(name, index, QStringLiteral("'%1' is no byte").arg(token)));
            joiner.Add(mark, byteTexts);
        } else if (mark == TextMark || mark == BoxMark) {
            joiner.Flush();
            lines << TextLine(mark, QStringView(line).sliced(line.size() > 1 && line[1] == u' ' ? 2 : 1));
        } else {
            throw KestrinError(Problem(name, index, QStringLiteral("a line begins with >, <, |, ! or #")));
        }
    }
    joiner.Flush();
    return lines;
}

QStringList LoadTranscript(const QString& path)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Cannot open the transcript %1: %2").arg(shownPath, file.errorString()));
    const QByteArray contents = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("Cannot read the transcript %1: %2").arg(shownPath, file.errorString()));
    return ReadTranscript(contents, shownPath);
}

bool TranscriptLineMatches(QStringView expected, QStringView seen)
{
    if (expected == seen)
        return true;
    if (expected.isEmpty() || seen.isEmpty() || expected[0] != seen[0])
        return false;
    if (!IsByteMark(expected[0]))
        return expected.trimmed() == seen.trimmed();
    // Both are written the recorder's way, so bytes line up character by character.
    if (expected.size() != seen.size())
        return false;
    for (qsizetype index = 0; index < expected.size(); ++index)
        if (expected[index] != seen[index] && expected[index] != u'?')
            return false;
    return true;
}

QString TranscriptDifference(const QStringList& expected, const QStringList& seen, const QString& expectedName,
                             const QString& seenName)
{
    // A run that sent before the whole answer to reset had come is shown as it went.
    const bool resetAnswered = TranscriptStreams(seen).answerToReset >= TranscriptStreams(expected).answerToReset;
    return UnifiedDiff(expected, resetAnswered ? LaidOutAs(expected, seen) : seen, TranscriptLineMatches,
                       {expectedName, seenName});
}
