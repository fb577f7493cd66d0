#include "script/ScriptCatalogue.h"

#include "script/ScriptFile.h"

#include <QDir>
#include <QLatin1StringView>

namespace {

struct HeaderKey {
    QLatin1StringView key;
    qsizetype valueStart; // 0-based
    QString ScriptHeader::*field;
};

const HeaderKey HeaderKeys[] = {
    {QLatin1StringView("VER"), 4, &ScriptHeader::version},
    {QLatin1StringView("DESCRIPTION"), 12, &ScriptHeader::description},
    {QLatin1StringView("AUTHOR"), 7, &ScriptHeader::author},
    {QLatin1StringView("DATE"), 5, &ScriptHeader::date},
};

} // namespace

ScriptHeader ScanScriptHeader(const QString& text)
{
    ScriptHeader header;
    QStringList lines = text.split(u'\n');
    for (QString& line : lines) {
        if (line.endsWith(u'\r'))
            line.chop(1);
        for (const HeaderKey& key : HeaderKeys)
            if (line.startsWith(key.key))
                header.*key.field = line.mid(key.valueStart);
    }
    return header;
}

ScriptHeader ReadScriptHeader(const QString& path)
{
    return ScanScriptHeader(ReadScriptText(path));
}

QStringList LoadScriptLines(const QString& path)
{
    return CompleteScriptLines(ReadScriptText(path));
}

QStringList ScriptFileNames(const QString& folder)
{
    QDir dir(folder, QStringLiteral("*.scr"), QDir::Name | QDir::IgnoreCase, QDir::Files);
    return dir.entryList();
}
