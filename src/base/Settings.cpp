#include "base/Settings.h"

#include "base/IniFile.h"
#include "base/ProgramFolder.h"

namespace {
const QString Section = QStringLiteral("SYSTEM");
const QString PcscSection = QStringLiteral("PCSC");
const QString PcscEchoKey = QStringLiteral("ECHO");
const QString NotAvailable = QStringLiteral("NA");

QString FlagText(bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); }
} // namespace

QString SettingsPath() { return SettingsFolder() + QStringLiteral("/kestrin.ini"); }

std::optional<SetupValues> LoadSettings(const QString& path)
{
    const IniFile ini(path);
    const QString com = ini.ReadString(Section, QStringLiteral("COM"), NotAvailable);
    if (com == NotAvailable)
        return std::nullopt;
    return SetupValues{com, ini.ReadString(Section, QStringLiteral("BDELAY"), NotAvailable),
                       ini.ReadString(Section, QStringLiteral("CDELAY"), NotAvailable),
                       ini.ReadInteger(Section, QStringLiteral("AUTOINIT"), 0) != 0,
                       LoadPcscEcho(path).value_or(true)};
}

std::optional<bool> LoadPcscEcho(const QString& path)
{
    const IniFile ini(path);
    if (ini.ReadString(PcscSection, PcscEchoKey, NotAvailable) == NotAvailable)
        return std::nullopt;
    return ini.ReadInteger(PcscSection, PcscEchoKey, 1) != 0;
}

void SaveSettings(const QString& path, const SetupValues& values)
{
    IniFile ini(path);
    ini.WriteString(Section, QStringLiteral("COM"), values.com);
    ini.WriteString(Section, QStringLiteral("BDELAY"), values.byteDelay);
    ini.WriteString(Section, QStringLiteral("CDELAY"), values.commandDelay);
    ini.WriteString(Section, QStringLiteral("AUTOINIT"), FlagText(values.autoInit));
    if (!values.pcscEcho || ini.HasSection(PcscSection))
        ini.WriteString(PcscSection, PcscEchoKey, FlagText(values.pcscEcho));
}
