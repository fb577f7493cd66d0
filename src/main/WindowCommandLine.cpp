#include "main/WindowCommandLine.h"

#include "base/ProgramMessages.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

const QString Program = QStringLiteral("kestrin");

// QGuiApplication's and QApplication's options, which they take off the command
// line themselves once the window system is reached.
QList<QCommandLineOption> WindowSystemOptions()
{
    QList<QCommandLineOption> options;
    for (const char* name : {"platform", "platformpluginpath", "platformtheme", "plugin", "qmljsdebugger",
                             "qwindowgeometry", "qwindowicon", "qwindowtitle", "session", "display", "geometry",
                             "style", "stylesheet"})
        options.append(QCommandLineOption(QString::fromLatin1(name), {}, QStringLiteral("value")));
    for (const char* name : {"reverse", "widgetcount"})
        options.append(QCommandLineOption(QString::fromLatin1(name)));
    for (QCommandLineOption& option : options)
        option.setFlags(QCommandLineOption::HiddenFromHelp);
    return options;
}

} // namespace

void CheckWindowCommandLine(int argc, char** argv)
{
    const QCoreApplication reader(argc, argv);
    QCoreApplication::setApplicationName(Program);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Exchanges data with an ISO 7816 smart card through a card "
                                                    "interface on a serial port or a PC/SC reader."));
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addOptions(WindowSystemOptions());
    if (!parser.parse(QCoreApplication::arguments()))
        ProgramMessages::Fail(Program, ProgramMessages::ParserError(parser), 1);
    if (!parser.positionalArguments().isEmpty())
        ProgramMessages::Fail(Program,
                              QStringLiteral("unexpected argument '%1'").arg(parser.positionalArguments().constFirst()), 1);
    parser.process(QCoreApplication::arguments()); // help and the version end the program here
}
