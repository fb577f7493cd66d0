#include "extcap/CaptureInterfaces.h"

#include "base/Settings.h"
#include "link/DeviceName.h"
#include "link/PcscReader.h"

#include <QRegularExpression>

namespace {

CaptureInterface SerialInterface(const QString& device)
{
    const QString path = DevicePath(device);
    const QString shown = path == device ? device : QStringLiteral("%1 (%2)").arg(device, path);
    return {QStringLiteral("kestrin-serial"), QStringLiteral("Kestrin T.R.X card interface %1").arg(shown), device};
}

CaptureInterface ReaderInterface(const QString& reader)
{
    static const QRegularExpression others(QStringLiteral("[^a-z0-9]+"));
    const QString name = reader.toLower().split(others, Qt::SkipEmptyParts).join(u'-');
    return {QStringLiteral("kestrin-pcsc-") + name, QStringLiteral("Kestrin T.R.X PC/SC reader %1").arg(reader),
            QStringLiteral("pcsc:") + reader};
}

QStringList PresentReaders()
{
    try {
        return PcscReader::Readers();
    } catch (const PcscError&) {
        return {};
    }
}

} // namespace

QList<CaptureInterface> CaptureInterfaces(const QString& settingsDevice, const QStringList& readers)
{
    QList<CaptureInterface> interfaces;
    if (!settingsDevice.isEmpty() && !PcscReaderName(settingsDevice))
        interfaces.append(SerialInterface(settingsDevice));
    for (const QString& reader : readers)
        interfaces.append(ReaderInterface(reader));
    return interfaces;
}

QList<CaptureInterface> PresentInterfaces()
{
    const auto settings = LoadSettings(SettingsPath());
    return CaptureInterfaces(settings ? settings->com : QString(), PresentReaders());
}
