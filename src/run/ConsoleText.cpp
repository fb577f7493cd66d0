#include "run/ConsoleText.h"

#include "session/LogLineEnds.h"

#include <cstdio>
#include <unistd.h>

namespace ConsoleText {
namespace {

bool g_shownInPlace = false;
bool g_outAtLineStart = true;

void Write(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

} // namespace

void WriteOut(const QString& text)
{
    if (text.isEmpty())
        return;
    if (isatty(STDOUT_FILENO))
        EraseInPlace();
    const QString normalised = ActiveLogText::NormalisedLineEnds(text);
    Write(stdout, normalised);
    g_outAtLineStart = normalised.endsWith(u'\n');
    if (normalised.contains(u'\n'))
        std::fflush(stdout);
}

void FinishOut()
{
    if (!g_outAtLineStart)
        WriteOut(QStringLiteral("\n"));
    std::fflush(stdout);
}

void ShowInPlace(const QString& text)
{
    if (!isatty(STDERR_FILENO) || (isatty(STDOUT_FILENO) && !g_outAtLineStart))
        return;
    Write(stderr, QStringLiteral("\r\33[K") + text);
    std::fflush(stderr);
    g_shownInPlace = true;
}

void EraseInPlace()
{
    if (!g_shownInPlace)
        return;
    Write(stderr, QStringLiteral("\r\33[K"));
    std::fflush(stderr);
    g_shownInPlace = false;
}

void WriteErr(const QString& text)
{
    EraseInPlace();
    std::fflush(stdout); // the log so far comes first where both streams share a terminal
    Write(stderr, ActiveLogText::NormalisedLineEnds(text));
    std::fflush(stderr);
}

void SayError(const QString& text) { WriteErr(QStringLiteral("kestrin-run: ") + text + u'\n'); }

void SayNote(const QString& kind, const QString& text) { WriteErr(kind + QStringLiteral(": ") + text + u'\n'); }

} // namespace ConsoleText
