#include "line/LineChecks.h"

#include "base/SaveFile.h"
#include "run/ItemLines.h"
#include "run/OutputPattern.h"
#include "trace/TranscriptCheck.h"

namespace {

const QString CardNumber = QStringLiteral("{n}");

// With several cards, each name must hold what tells them apart.
void CheckFilesApart(const RunOptions& options, qsizetype interfaceCount)
{
    if (interfaceCount < 2 && !options.eachCard)
        return;
    for (const auto& [option, pattern] : OutputPatterns(options)) {
        if (pattern.contains(CardNumber) || (!options.eachCard && pattern.contains(QStringLiteral("{device}"))))
            continue;
        throw UsageError(QStringLiteral("%1 %2 would be written by every card alike: put %3 in it")
                             .arg(option, pattern,
                                  options.eachCard ? QStringLiteral("{n} (the card's number)")
                                                   : QStringLiteral("{device} or {n} (the card's number)")));
    }
}

void CheckFilesOfFirstCards(const RunOptions& options, const QList<LineInterface>& interfaces)
{
    for (qsizetype index = 0; index < interfaces.size(); ++index) {
        const int card = options.eachCard ? 1 : int(index) + 1;
        const RunOptions own = ForOneCard(options, interfaces[index].fileName, card);
        if (!own.checkPath.isEmpty() && !(options.eachCard && options.checkPath.contains(CardNumber)))
            LoadTranscript(own.checkPath);
        CheckOutputFiles(own);
    }
}

} // namespace

void CheckItems(const RunOptions& options)
{
    for (const RunItem& item : options.items) {
        QList<qsizetype> lineNumbers;
        LoadItemLines(item, lineNumbers);
    }
}

void CheckFiles(const RunOptions& options, const QList<LineInterface>& interfaces)
{
    // Standard output carries every card's Active Log lines, each behind its prefix.
    if (PcapStreams(options))
        throw UsageError(QStringLiteral("--pcap - streams one card's packets; with several cards or a report, "
                                        "name a file with {device} or {n} in it"));
    CheckFilesApart(options, interfaces.size());
    CheckFilesOfFirstCards(options, interfaces);
    if (!options.junitPath.isEmpty())
        CheckCanSave(options.junitPath);
}
