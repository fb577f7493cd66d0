// kestrin-extcap: Wireshark's capture interface to the card interfaces. See
// ExtcapUsageText() and the manual page.
#include "base/KestrinError.h"
#include "base/ProgramFolder.h"
#include "extcap/CaptureInterfaces.h"
#include "extcap/CaptureRun.h"
#include "extcap/ExtcapRequest.h"
#include "extcap/ExtcapSentences.h"

#include <QCoreApplication>
#include <cstdio>

namespace {

constexpr int UsageStatus = 2;

void WriteOut(const QString& text)
{
    const QByteArray bytes = text.toUtf8();
    std::fwrite(bytes.constData(), 1, std::size_t(bytes.size()), stdout);
}

CaptureInterface FindInterface(const QString& value)
{
    for (const CaptureInterface& interface : PresentInterfaces())
        if (interface.value == value)
            return interface;
    throw KestrinError(QStringLiteral("there is no card interface '%1' (kestrin-extcap --extcap-interfaces lists "
                                      "those there are)")
                           .arg(value));
}

// kestrin-run beside this program, in the scripts folder, so that an item named
// without a folder is the scripts folder's.
int Capture(const ExtcapRequest& request)
{
    const CaptureInterface interface = FindInterface(request.interface);
    return RunCapture(ProgramFolder() + QStringLiteral("/kestrin-run"), RunArguments(request, interface.device),
                      request.fifo, ScriptsFolder());
}

int Answer(const ExtcapRequest& request)
{
    switch (request.action) {
    case ExtcapRequest::Action::Interfaces:
        WriteOut(ExtcapSentences::Interfaces(QCoreApplication::applicationVersion(), PresentInterfaces()));
        break;
    case ExtcapRequest::Action::Dlts: WriteOut(ExtcapSentences::Dlts()); break;
    case ExtcapRequest::Action::Config: WriteOut(ExtcapSentences::Config()); break;
    case ExtcapRequest::Action::Capture: return Capture(request);
    case ExtcapRequest::Action::Help: WriteOut(ExtcapUsageText()); break;
    case ExtcapRequest::Action::Version:
        WriteOut(QStringLiteral("kestrin-extcap %1\n").arg(QCoreApplication::applicationVersion()));
        break;
    }
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("kestrin-extcap"));
    QCoreApplication::setApplicationVersion(QStringLiteral(KESTRIN_VERSION));
    try {
        return Answer(ParseExtcapRequest(QCoreApplication::arguments().mid(1)));
    } catch (const KestrinError& error) {
        std::fprintf(stderr, "kestrin-extcap: %s\n", error.what());
        return UsageStatus;
    }
}
