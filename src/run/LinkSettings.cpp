#include "run/LinkSettings.h"

#include "base/Settings.h"

#include <QDir>

LinkSettings ChooseLinkSettings(const RunOptions& options)
{
    const auto stored = LoadSettings(SettingsPath());
    const auto pick = [](const QString& given, const QString& storedValue, const QString& fallback) {
        if (!given.isEmpty())
            return given;
        return storedValue.isEmpty() || storedValue == u"NA" ? fallback : storedValue;
    };
    LinkSettings settings;
    settings.device = pick(options.devices.value(0), stored ? stored->com : QString(), {});
    settings.byteDelay = pick(options.byteDelay, stored ? stored->byteDelay : QString(), settings.byteDelay);
    settings.commandDelay = pick(options.commandDelay, stored ? stored->commandDelay : QString(), settings.commandDelay);
    settings.pcscEcho = LoadPcscEcho(SettingsPath()).value_or(true);
    return settings;
}

UsageError NoDeviceNamed()
{
    return UsageError(QStringLiteral("no card interface named: give --device DEV (COM1, ttyUSB0 or a path), or set COM "
                                     "in %1 (the Setup page of kestrin)")
                          .arg(QDir::toNativeSeparators(SettingsPath())));
}
