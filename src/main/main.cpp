#include "base/ProgramFolder.h"
#include "main/ProgramEndSignals.h"
#include "main/TMainForm.h"
#include "widgets/WidgetAccessibility.h"
#include "windows/FontSubstitutes.h"
#include "windows/QtDialogs.h"
#include "windows/TCustomCommand.h"
#include "windows/TDisplayForm.h"
#include "windows/TInputForm.h"
#include "windows/TLogoForm.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QIcon>
#include <QScreen>
#include <cstdio>
#include <span>
#include <string_view>

namespace {

// Help and version need no window system: they are answered before one is reached.
bool AsksForInformation(int argc, char** argv)
{
    for (const std::string_view argument : std::span(argv + 1, argc - 1))
        if (argument == "-h" || argument == "--help" || argument == "--help-all" || argument == "-?"
            || argument == "-v" || argument == "--version")
            return true;
    return false;
}

// Ends the process after help (status 0), the version (0) or a wrong command line (1).
void ReadCommandLine(const QCoreApplication& app)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Exchanges data with an ISO 7816 smart card through a card "
                                                    "interface on a serial port."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.process(app);
    if (!parser.positionalArguments().isEmpty()) {
        std::fprintf(stderr, "kestrin: unexpected argument '%s'\n", qPrintable(parser.positionalArguments().first()));
        std::exit(1);
    }
}

} // namespace

int main(int argc, char** argv)
{
    QApplication::setApplicationName(QStringLiteral("Kestrin T.R.X"));
    QApplication::setApplicationVersion(QStringLiteral(KESTRIN_VERSION));
    if (AsksForInformation(argc, argv)) {
        const QCoreApplication information(argc, argv);
        ReadCommandLine(information);
    }
    QApplication app(argc, argv);
    ReadCommandLine(app);
    QGuiApplication::setDesktopFileName(QStringLiteral(KESTRIN_APP_ID));
    PrepareWorkFolders(CurrentWorkFolders());
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/pictures/kestrin.svg")));
    InstallFontSubstitutes();
    InstallWidgetAccessibility();

    const ProgramEndSignals endSignals;
    TLogoForm logoForm;
    logoForm.exec();
    if (endSignals.Received())
        return 0;

    TCustomCommand customCommand;
    TDisplayForm displayForm;
    TInputForm inputForm;
    QtDialogs dialogs(inputForm, customCommand);
    TMainForm mainForm(dialogs, displayForm);
    // Maximised by the window manager; the geometry covers the screen where there is none.
    mainForm.setGeometry(QGuiApplication::primaryScreen()->availableGeometry());
    mainForm.showMaximized();
    return QApplication::exec();
}
