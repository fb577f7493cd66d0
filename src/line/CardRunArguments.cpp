#include "line/CardRunArguments.h"

#include "run/OutputPattern.h"

#include <QFileInfo>

namespace {

void AddIfGiven(QStringList& arguments, const char* option, const QString& value)
{
    if (!value.isEmpty())
        arguments << QString::fromLatin1(option) << value;
}

void AddItems(QStringList& arguments, const QList<RunItem>& items)
{
    for (const RunItem& item : items) {
        if (item.kind == RunItem::Kind::Line)
            arguments << QStringLiteral("-e") << item.text;
        else
            arguments << QFileInfo(item.text).absoluteFilePath(); // never taken for an option
    }
}

} // namespace

QStringList CardRunArguments(const RunOptions& options, const LineInterface& face, int card, const QString& recordPath)
{
    const RunOptions own = ForOneCard(options, face.fileName, card);
    QStringList arguments{QStringLiteral("-d"), face.device, QStringLiteral("--idle"), QString::number(own.idleMs),
                          QStringLiteral("--answer-timeout"), QString::number(own.answerTimeoutMs)};
    AddIfGiven(arguments, "--byte-delay", own.byteDelay);
    AddIfGiven(arguments, "--command-delay", own.commandDelay);
    for (qsizetype slot = 0; slot < qsizetype(own.parameters.size()); ++slot)
        if (own.parameters[slot])
            arguments << QStringLiteral("-p") << QStringLiteral("P%1=%2").arg(slot + 1).arg(*own.parameters[slot]);
    if (own.promptAnswer)
        arguments << (*own.promptAnswer ? QStringLiteral("--yes") : QStringLiteral("--no"));
    AddIfGiven(arguments, "--log", own.logPath);
    AddIfGiven(arguments, "--record", recordPath);
    AddIfGiven(arguments, "--check", own.checkPath);
    AddIfGiven(arguments, "--trace", own.tracePath);
    AddIfGiven(arguments, "--pcap", own.pcapPath);
    if (own.timeoutSeconds)
        arguments << QStringLiteral("--timeout") << QString::number(*own.timeoutSeconds, 'f', 3);
    if (own.quiet)
        arguments << QStringLiteral("-q");
    AddItems(arguments, own.items);
    return arguments;
}
