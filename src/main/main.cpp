#include "base/ProgramFolder.h"
#include "base/RuntimeFolder.h"
#include "main/ProgramEndSignals.h"
#include "main/TMainForm.h"
#include "main/WindowCommandLine.h"
#include "widgets/WidgetAccessibility.h"
#include "windows/FontSubstitutes.h"
#include "windows/QtDialogs.h"
#include "windows/TCustomCommand.h"
#include "windows/TDisplayForm.h"
#include "windows/TInputForm.h"
#include "windows/TLogoForm.h"

#include <QApplication>
#include <QIcon>
#include <QScreen>

int main(int argc, char** argv)
{
    QApplication::setApplicationVersion(QStringLiteral(KESTRIN_VERSION));
    CheckWindowCommandLine(argc, argv);
    SettleRuntimeFolder();
    QApplication::setApplicationName(QStringLiteral("Kestrin T.R.X"));
    QApplication app(argc, argv);
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
