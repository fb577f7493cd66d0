#include "base/ProgramMessages.h"

#include <QCommandLineParser>
#include <cstdio>
#include <cstdlib>

namespace ProgramMessages {

void Say(const QString& program, const QString& text)
{
    std::fprintf(stderr, "%s: %s\n", qPrintable(program), qPrintable(text));
}

void Fail(const QString& program, const QString& text, int status)
{
    Say(program, text);
    std::exit(status);
}

QString ParserError(const QCommandLineParser& parser)
{
    if (!parser.unknownOptionNames().isEmpty()) {
        const QString& name = parser.unknownOptionNames().constFirst();
        return QStringLiteral("unknown option '%1%2' (see --help)").arg(name.size() == 1 ? "-" : "--", name);
    }
    // Qt's own sentence ("Missing value after '--atr'."), as a clause.
    QString text = parser.errorText();
    if (text.endsWith(u'.'))
        text.chop(1);
    return text.isEmpty() ? text : text.front().toLower() + text.sliced(1);
}

} // namespace ProgramMessages
