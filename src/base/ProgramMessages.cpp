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
    return AsClause(parser.errorText()); // Qt's own sentence: "Missing value after '--atr'."
}

QString AsClause(QString sentence)
{
    if (sentence.endsWith(u'.'))
        sentence.chop(1);
    if (sentence.size() > 1 && sentence[1].isLower())
        sentence[0] = sentence[0].toLower();
    return sentence;
}

} // namespace ProgramMessages
