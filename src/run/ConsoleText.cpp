#include "run/ConsoleText.h"

#include "session/LogLineEnds.h"

#include <QStringList>
#include <cstdio>
#include <sys/ioctl.h>
#include <unistd.h>

namespace ConsoleText {
namespace {

int g_linesInPlace = 0; // shown in place, the cursor at the end of the last
bool g_outAtLineStart = true;

void Write(std::FILE* stream, const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stream);
}

// The lines cut to the terminal's width, so that each takes one row.
QString FitToTerminal(const QString& text)
{
    winsize size{};
    if (ioctl(STDERR_FILENO, TIOCGWINSZ, &size) != 0 || size.ws_col < 2)
        return text;
    QStringList lines = text.split(u'\n');
    for (QString& line : lines)
        line.truncate(size.ws_col - 1);
    return lines.join(u'\n');
}

// Back to the start of the first line shown in place, then clear to the end of the screen.
QString EraseSequence()
{
    const QString up = g_linesInPlace > 1 ? QStringLiteral("\33[%1A").arg(g_linesInPlace - 1) : QString();
    return QStringLiteral("\r") + up + QStringLiteral("\33[J");
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
    Write(stderr, EraseSequence() + FitToTerminal(text));
    std::fflush(stderr);
    g_linesInPlace = int(text.count(u'\n')) + 1;
}

void EraseInPlace()
{
    if (g_linesInPlace == 0)
        return;
    Write(stderr, EraseSequence());
    std::fflush(stderr);
    g_linesInPlace = 0;
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
