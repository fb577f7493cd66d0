#include "extcap/ExtcapSentences.h"

#include "link/BaudRates.h"

#include <QStringList>

namespace ExtcapSentences {
namespace {

QString Field(const char* name, const QString& text)
{
    QString value = text;
    value.replace(u'{', u'(').replace(u'}', u')');
    return QStringLiteral("{%1=%2}").arg(QLatin1StringView(name), value);
}

QString Argument(int number, const char* call, const char* display, const char* type, const char* tooltip)
{
    return QStringLiteral("arg ") + Field("number", QString::number(number)) + Field("call", QLatin1StringView(call))
           + Field("display", QLatin1StringView(display)) + Field("type", QLatin1StringView(type))
           + Field("tooltip", QLatin1StringView(tooltip));
}

QString Value(int argument, const QString& value, const QString& display, bool isDefault = false)
{
    return QStringLiteral("value ") + Field("arg", QString::number(argument)) + Field("value", value)
           + Field("display", display) + (isDefault ? QStringLiteral("{default=true}") : QString());
}

void AddBaudRates(QStringList& lines, int argument)
{
    lines << Argument(argument, "--baud", "Baud rate", "selector",
                      "The line's rate from the card's answer to reset on; a script's BAUD still changes it");
    for (const int baud : CardBaudRates)
        lines << Value(argument, QString::number(baud), QString::number(baud), baud == CardBaudRates[0]);
}

void AddParameters(QStringList& lines, int firstArgument)
{
    for (int number = 1; number <= 5; ++number) {
        const QByteArray call = "--p" + QByteArray::number(number);
        const QByteArray display = "P" + QByteArray::number(number);
        lines << Argument(firstArgument + number - 1, call.constData(), display.constData(), "string",
                          "The answer a GET of this parameter gets without asking; empty: none");
    }
}

void AddPromptAnswer(QStringList& lines, int argument)
{
    lines << Argument(argument, "--prompt", "PROMPT boxes", "selector",
                      "How a script's PROMPT box is answered; with no answer such a box ends the run");
    lines << Value(argument, QStringLiteral("stop"), QStringLiteral("no answer: the run ends"), true)
          << Value(argument, QStringLiteral("yes"), QStringLiteral("OK"))
          << Value(argument, QStringLiteral("no"), QStringLiteral("Cancel"));
}

QString Lines(const QStringList& lines) { return lines.join(u'\n') + u'\n'; }

} // namespace

QString Interfaces(const QString& version, const QList<CaptureInterface>& interfaces)
{
    QStringList lines{QStringLiteral("extcap ") + Field("version", version)
                      + Field("display", QStringLiteral("Kestrin T.R.X card links"))};
    for (const CaptureInterface& interface : interfaces)
        lines << QStringLiteral("interface ") + Field("value", interface.value) + Field("display", interface.display);
    return Lines(lines);
}

QString Dlts()
{
    return QStringLiteral("dlt {number=252}{name=WIRESHARK_UPPER_PDU}{display=ISO 7816 T=0 card link}\n");
}

QString Config()
{
    QStringList lines{Argument(0, "--script", "Script or data file", "fileselect",
                               "A script (*.scr) or a data file to run; a name without a folder is looked for in "
                               "the scripts folder")
                      + QStringLiteral("{required=true}")};
    AddBaudRates(lines, 1);
    AddParameters(lines, 2);
    AddPromptAnswer(lines, 7);
    return Lines(lines);
}

} // namespace ExtcapSentences
