#include "extcap/ExtcapRequest.h"

#include "base/KestrinError.h"

#include <QLatin1StringView>

namespace {

struct Option {
    QLatin1StringView name;
    bool takesValue;
    void (*apply)(ExtcapRequest&, const QString& value);
};

using Action = ExtcapRequest::Action;

template <Action action>
void Ask(ExtcapRequest& request, const QString&)
{
    request.action = action;
}

template <int number>
void SetParameter(ExtcapRequest& request, const QString& value)
{
    request.parameters[number - 1] = value;
}

void SetPromptAnswer(ExtcapRequest& request, const QString& value)
{
    if (value != u"yes" && value != u"no" && value != u"stop")
        throw KestrinError(QStringLiteral("--prompt takes yes, no or stop, not '%1'").arg(value));
    request.promptAnswer = value;
}

void Ignore(ExtcapRequest&, const QString&) {}

const Option Options[] = {
    {QLatin1StringView("--extcap-interfaces"), false, Ask<Action::Interfaces>},
    {QLatin1StringView("--extcap-dlts"), false, Ask<Action::Dlts>},
    {QLatin1StringView("--extcap-config"), false, Ask<Action::Config>},
    {QLatin1StringView("--capture"), false, Ask<Action::Capture>},
    {QLatin1StringView("--help"), false, Ask<Action::Help>},
    {QLatin1StringView("--version"), false, Ask<Action::Version>},
    {QLatin1StringView("--extcap-interface"), true, [](ExtcapRequest& r, const QString& v) { r.interface = v; }},
    {QLatin1StringView("--fifo"), true, [](ExtcapRequest& r, const QString& v) { r.fifo = v; }},
    {QLatin1StringView("--script"), true, [](ExtcapRequest& r, const QString& v) { r.item = v; }},
    {QLatin1StringView("--baud"), true, [](ExtcapRequest& r, const QString& v) { r.baud = v; }},
    {QLatin1StringView("--p1"), true, SetParameter<1>},
    {QLatin1StringView("--p2"), true, SetParameter<2>},
    {QLatin1StringView("--p3"), true, SetParameter<3>},
    {QLatin1StringView("--p4"), true, SetParameter<4>},
    {QLatin1StringView("--p5"), true, SetParameter<5>},
    {QLatin1StringView("--prompt"), true, SetPromptAnswer},
    // Wireshark's own, which a card link has no use for.
    {QLatin1StringView("--extcap-version"), false, Ignore},
    {QLatin1StringView("--extcap-capture-filter"), true, Ignore},
};

const Option& FindOption(QStringView name)
{
    for (const Option& option : Options)
        if (name == option.name)
            return option;
    throw KestrinError(QStringLiteral("unknown option '%1' (see --help)").arg(name));
}

void CheckCapture(const ExtcapRequest& request)
{
    if (request.interface.isEmpty() || request.fifo.isEmpty())
        throw KestrinError(QStringLiteral("--capture needs --extcap-interface and --fifo"));
    if (request.item.isEmpty())
        throw KestrinError(QStringLiteral("no script or data file to run: choose one in the interface's options (--script)"));
}

} // namespace

ExtcapRequest ParseExtcapRequest(const QStringList& arguments)
{
    ExtcapRequest request;
    for (qsizetype index = 0; index < arguments.size(); ++index) {
        // "--name=value" or "--name value"; a value Wireshark leaves empty is no value.
        const QString& argument = arguments[index];
        const qsizetype equals = argument.indexOf(u'=');
        const Option& option = FindOption(equals < 0 ? QStringView(argument) : QStringView(argument).left(equals));
        QString value;
        if (equals >= 0)
            value = argument.sliced(equals + 1);
        else if (option.takesValue && index + 1 < arguments.size())
            value = arguments[++index];
        else if (option.takesValue)
            throw KestrinError(QStringLiteral("%1 needs a value").arg(argument));
        option.apply(request, value);
    }
    if (request.action == Action::Capture)
        CheckCapture(request);
    return request;
}

QString ExtcapUsageText()
{
    return QStringLiteral(
        "Usage: kestrin-extcap --extcap-interfaces\n"
        "       kestrin-extcap --extcap-interface IF --extcap-dlts | --extcap-config\n"
        "       kestrin-extcap --extcap-interface IF --capture --fifo PATH --script FILE\n"
        "                      [--baud RATE] [--p1 VALUE ... --p5 VALUE] [--prompt yes|no|stop]\n"
        "A Wireshark capture interface for each card interface: the serial device of\n"
        "kestrin.ini and every PC/SC reader present. A capture runs FILE (a script or a\n"
        "data file; a bare name is looked for in the scripts folder) through kestrin-run\n"
        "and writes its packets to PATH as they happen; Wireshark's stop ends the run.\n"
        "Installed in Wireshark's extcap folder; see man kestrin-extcap.\n");
}
