#include "run/OutputPattern.h"

#include "link/DeviceName.h"

QString DeviceFileName(const QString& device)
{
    const std::optional<QString> reader = PcscReaderName(device);
    QString name = reader ? (reader->isEmpty() ? QStringLiteral("pcsc") : *reader) : device;
    for (QChar& character : name) {
        const bool safe = (character.isLetterOrNumber() && character.unicode() < 0x80) || character == u'.' ||
                          character == u'-' || character == u'_';
        if (!safe)
            character = u'_';
    }
    while (name.startsWith(u'_') || name.startsWith(u'.'))
        name.remove(0, 1);
    return name.isEmpty() ? QStringLiteral("device") : name;
}

QString FillPattern(const QString& pattern, const QString& deviceFileName, int card)
{
    return QString(pattern)
        .replace(QLatin1StringView("{device}"), deviceFileName)
        .replace(QLatin1StringView("{n}"), QString::number(card));
}

RunOptions ForOneCard(RunOptions options, const QString& deviceFileName, int card)
{
    for (QString* path : {&options.logPath, &options.recordPath, &options.checkPath, &options.tracePath,
                          &options.pcapPath})
        *path = FillPattern(*path, deviceFileName, card);
    return options;
}

QList<std::pair<QString, QString>> OutputPatterns(const RunOptions& options)
{
    QList<std::pair<QString, QString>> patterns;
    for (const auto& [name, pattern] : {std::pair{"--log", &options.logPath}, std::pair{"--record", &options.recordPath},
                                        std::pair{"--trace", &options.tracePath}, std::pair{"--pcap", &options.pcapPath}})
        if (!pattern->isEmpty())
            patterns.append({QString::fromLatin1(name), *pattern});
    return patterns;
}
