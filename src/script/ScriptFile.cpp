#include "script/ScriptFile.h"

#include "base/KestrinError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString ReadScriptText(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw FileError(QStringLiteral("Cannot open the script file %1: %2")
                            .arg(QDir::toNativeSeparators(path), file.errorString()));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError)
        throw FileError(QStringLiteral("Cannot read the script file %1: %2")
                            .arg(QDir::toNativeSeparators(path), file.errorString()));
    return QString::fromUtf8(bytes);
}

QStringList SplitScriptLines(const QString& text)
{
    QStringList lines;
    qsizetype start = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n')
            continue;
        lines << text.sliced(start, i - start);
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n')
            ++i;
        start = i + 1;
    }
    if (start < text.size())
        lines << text.sliced(start);
    return lines;
}

QStringList CompleteScriptLines(const QString& text)
{
    QStringList lines = text.split(u'\n');
    lines.removeLast(); // what follows the last line end: nothing, or a line never ended
    for (QString& line : lines)
        if (line.endsWith(u'\r'))
            line.chop(1);
    return lines;
}

QString FindScriptFile(const QString& folder, const QString& name)
{
    if (name.isEmpty())
        return {};
    const QString exact = folder + u'/' + name;
    if (QFileInfo(exact).isFile())
        return exact;
    if (name.contains(u'/'))
        return {};
    const QDir dir(folder);
    const QStringList files = dir.entryList(QDir::Files | QDir::Hidden, QDir::Name);
    for (const QString& file : files)
        if (file.compare(name, Qt::CaseInsensitive) == 0)
            return dir.filePath(file);
    return {};
}
