// A settings file as someone might write it by hand: read as the program starts,
// then the Setup page's values saved into it and read back.
//
// Input: the COM value to save (ended by a backslash and one more character),
// then the file's bytes.
#include "FuzzSupport.h"

#include "base/IniFile.h"
#include "base/KestrinError.h"
#include "base/Settings.h"

#include <QFile>
#include <QHash>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

// A value the file can hold and give back as it was: one line of Latin-1
// without blanks at either end, and not "NA", which reads as no value.
bool Storable(const QString& value)
{
    const bool latin1 = std::all_of(value.begin(), value.end(), [](QChar c) { return c.unicode() <= 0xFF; });
    return latin1 && !value.contains(u'\n') && !value.contains(u'\r') && value.trimmed() == value
           && value != u"NA";
}

// The file's lines, each without its CR.
QStringList FileLines(const QString& path)
{
    QFile file(path);
    Fuzz::Require(file.open(QIODevice::ReadOnly), "the settings file can be read back");
    QStringList lines = QString::fromLatin1(file.readAll()).split(u'\n');
    for (QString& line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    return lines;
}

// Writing four keys replaces at most four lines: every other line is still there.
void CheckKept(const QStringList& before, const QStringList& after)
{
    QHash<QString, int> left;
    for (const QString& line : after)
        ++left[line];
    const qsizetype lost = std::count_if(before.begin(), before.end(), [&left](const QString& line) {
        return left[line]-- <= 0;
    });
    Fuzz::Require(lost <= 4, "saving the settings keeps the rest of the file");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    const QString com = QString::fromStdString(input.ConsumeRandomLengthString(32));
    const std::string bytes = input.ConsumeRemainingBytesAsString();
    const QString path = Fuzz::ScratchFolder() + QStringLiteral("/kestrin.ini");
    QFile file(path);
    Fuzz::Require(file.open(QIODevice::WriteOnly | QIODevice::Truncate)
                      && file.write(bytes.data(), qint64(bytes.size())) == qint64(bytes.size()),
                  "the settings file can be written");
    file.close();

    const std::optional<SetupValues> loaded = LoadSettings(path);
    IniFile(path).ReadInteger(QStringLiteral("SYSTEM"), QStringLiteral("BDELAY"), 0);
    const QStringList before = FileLines(path);

    const SetupValues saved{com, QStringLiteral("500"), QStringLiteral("20000"), !loaded || !loaded->autoInit};
    try {
        SaveSettings(path, saved);
    } catch (const FileError&) {
        Fuzz::Require(false, "the scratch settings file can always be saved");
    }
    CheckKept(before, FileLines(path));
    if (!Storable(com))
        return 0;
    const std::optional<SetupValues> reloaded = LoadSettings(path);
    Fuzz::Require(reloaded && reloaded->com == saved.com && reloaded->byteDelay == saved.byteDelay
                      && reloaded->commandDelay == saved.commandDelay && reloaded->autoInit == saved.autoInit,
                  "the saved settings read back as saved");
    return 0;
}
