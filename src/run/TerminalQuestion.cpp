#include "run/TerminalQuestion.h"

#include "base/MessagePump.h"
#include "run/ConsoleText.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <cerrno>
#include <unistd.h>

namespace TerminalQuestion {
namespace {

// What was typed beyond the line last answered.
QByteArray g_typed;

} // namespace

bool Available() { return isatty(STDIN_FILENO); }

std::optional<QString> Ask(const QString& question)
{
    ConsoleText::WriteErr(question);
    bool inputEnded = false;
    QSocketNotifier input(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&input, &QSocketNotifier::activated, [&] {
        char buffer[256];
        const ssize_t count = read(STDIN_FILENO, buffer, sizeof buffer);
        if (count > 0)
            g_typed.append(buffer, count);
        else if (count == 0 || (errno != EINTR && errno != EAGAIN))
            inputEnded = true;
    });
    while (!g_typed.contains('\n') && !inputEnded && !MessagePump::Closing())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    const qsizetype end = g_typed.indexOf('\n');
    if (end < 0) {
        ConsoleText::WriteErr(QStringLiteral("\n"));
        return std::nullopt;
    }
    const QByteArray line = g_typed.left(end);
    g_typed.remove(0, end + 1);
    return QString::fromUtf8(line).remove(u'\r');
}

} // namespace TerminalQuestion
