// kestrin-run: scripts, data files and command lines against a smart card,
// without a window. See UsageText() and the manual page for the command line.
#include "line/LineRun.h"
#include "run/ConsoleText.h"
#include "run/HeadlessRun.h"
#include "run/LinkSettings.h"
#include "run/OutputPattern.h"
#include "run/RunOptions.h"

#include <QCoreApplication>
#include <csignal>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrin-run"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRIN_VERSION));
    CommandLine commandLine;
    try {
        commandLine = ParseCommandLine(QCoreApplication::arguments().mid(1));
    } catch (const UsageError& error) {
        ConsoleText::SayError(error.message());
        return int(ExitStatus::Usage);
    }
    switch (commandLine.action) {
    case CommandLine::Action::Help:
        ConsoleText::WriteOut(UsageText());
        return int(ExitStatus::Done);
    case CommandLine::Action::Version:
        ConsoleText::WriteOut(QStringLiteral("kestrin-run %1\n").arg(QCoreApplication::applicationVersion()));
        return int(ExitStatus::Done);
    case CommandLine::Action::Run:
        break;
    }
    // A reader of standard output that goes away (head, a closed pipe) must not
    // end the run before the port is closed and its files are written.
    std::signal(SIGPIPE, SIG_IGN);
    const RunOptions& options = commandLine.options;
    if (IsProductionLine(options))
        return LineRun(options).Run();
    const RunOptions oneCard = ForOneCard(options, DeviceFileName(ChooseLinkSettings(options).device), 1);
    return int(HeadlessRun(oneCard).Run());
}
