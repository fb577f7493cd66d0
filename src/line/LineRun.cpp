#include "line/LineRun.h"

#include "base/SaveFile.h"
#include "base/SignalNotifier.h"
#include "line/CardRun.h"
#include "line/CardRunArguments.h"
#include "line/JUnitReport.h"
#include "line/LineChecks.h"
#include "line/LineSummary.h"
#include "link/DeviceName.h"
#include "link/PcscReader.h"
#include "link/ReaderPresence.h"
#include "run/ConsoleText.h"
#include "run/LinkSettings.h"
#include "run/OutputPattern.h"
#include "run/RunStop.h"

#include <QStringList>
#include <algorithm>
#include <chrono>
#include <csignal>
#include <unistd.h>

namespace {

constexpr std::chrono::milliseconds ReaderLookInterval{100};
constexpr std::chrono::milliseconds ProgressInterval{250};

QString ItemName(const RunItem& item)
{
    return item.kind == RunItem::Kind::Line ? QStringLiteral("-e ") + item.text : item.text;
}

} // namespace

bool IsProductionLine(const RunOptions& options)
{
    const auto everyReader = [](const QString& device) { return PcscReaderName(device) == u"*"; };
    return options.devices.size() > 1 || std::any_of(options.devices.begin(), options.devices.end(), everyReader) ||
           options.eachCard || !options.junitPath.isEmpty();
}

int LineRun::Run()
{
    try {
        Prepare();
    } catch (const NoInterface& error) {
        ConsoleText::SayError(error.message());
        return int(ExitStatus::LinkFailed);
    } catch (const KestrinError& error) {
        ConsoleText::SayError(error.message());
        return int(ExitStatus::Usage);
    }
    {
        SignalNotifier stopSignals({SIGINT, SIGTERM}, SignalNotifier::Handled::Every);
        QObject::connect(&stopSignals, &SignalNotifier::Received, &m_loop, [this](int signal) { Stop(signal); });
        Start();
        if (!Ended())
            m_loop.exec();
    }
    ConsoleText::EraseInPlace();
    ConsoleText::FinishOut();
    return Report();
}

// Everything that can be known to fail before the first card.
void LineRun::Prepare()
{
    QStringList devices = m_options.devices;
    if (devices.isEmpty())
        devices << ChooseLinkSettings(m_options).device;
    if (devices.first().isEmpty())
        throw NoDeviceNamed();
    CheckItems(m_options);
    m_interfaces = ChooseInterfaces(devices, m_options.eachCard);
    CheckFiles(m_options, m_interfaces);
    if (!m_options.junitPath.isEmpty() && m_options.recordPath.isEmpty())
        m_transcripts = std::make_unique<QTemporaryDir>();
}

void LineRun::Start()
{
    CardSource& source = *this;
    for (const LineInterface& face : std::as_const(m_interfaces))
        m_stations.push_back(std::make_unique<Station>(face, source));
    if (m_options.eachCard) {
        QObject::connect(&m_readerTimer, &QTimer::timeout, &m_loop, [this] { LookForCards(); });
        m_readerTimer.start(ReaderLookInterval);
        LookForCards();
    } else {
        for (const auto& station : m_stations)
            station->StartCard();
    }
    if (isatty(STDERR_FILENO)) {
        QObject::connect(&m_progress, &QTimer::timeout, &m_loop, [this] { ShowProgress(); });
        m_progress.start(ProgressInterval);
        ShowProgress();
    }
}

void LineRun::LookForCards()
{
    QStringList readers;
    for (const auto& station : m_stations)
        readers << station->Interface().label;
    try {
        const QList<ReaderPresence> presence = m_readerLook.Look(readers);
        m_readersFailing = false;
        for (size_t index = 0; index < m_stations.size(); ++index)
            m_stations[index]->SeeReader(presence[qsizetype(index)]);
    } catch (const PcscError& error) {
        if (!std::exchange(m_readersFailing, true))
            ConsoleText::SayError(QStringLiteral("the PC/SC readers could not be looked at (%1); trying again")
                                      .arg(QString::fromUtf8(error.what())));
    }
}

void LineRun::ShowProgress() const
{
    QStringList lines;
    for (const auto& station : m_stations)
        lines << station->ProgressText(m_options.items.size());
    ConsoleText::ShowInPlace(lines.join(u'\n'));
}

// Card after card, the first SIGINT lets the cards under way finish and takes
// no more; any other stop is passed on to them, which end as a run ends on it.
void LineRun::Stop(int signal)
{
    const bool finishCards = signal == SIGINT && m_options.eachCard && !m_stopping;
    if (finishCards)
        ConsoleText::SayError(QStringLiteral("interrupted (SIGINT): no more cards; the line ends once the cards under "
                                             "way are done (SIGINT again stops them)"));
    m_stopping = true;
    if (!finishCards)
        for (const auto& station : m_stations)
            station->Signal(signal);
    if (Ended())
        m_loop.quit();
}

bool LineRun::TakesMoreCards() const { return !m_stopping && (!m_options.cards || m_cardsStarted < *m_options.cards); }

bool LineRun::Ended() const
{
    const bool busy = std::any_of(m_stations.begin(), m_stations.end(), [](const auto& station) { return station->Busy(); });
    return !busy && (!m_options.eachCard || !TakesMoreCards());
}

QString LineRun::TranscriptPath(const LineInterface& face, int card) const
{
    if (!m_options.recordPath.isEmpty())
        return FillPattern(m_options.recordPath, face.fileName, card);
    return m_transcripts ? m_transcripts->filePath(QStringLiteral("card-%1.txt").arg(card)) : QString();
}

std::unique_ptr<CardRun> LineRun::NextCard(const LineInterface& face)
{
    if (!TakesMoreCards())
        return nullptr;
    const int card = m_cardsStarted + 1;
    const QString transcript = TranscriptPath(face, card);
    try {
        auto run = std::make_unique<CardRun>(face, card, CardRunArguments(m_options, face, card, transcript),
                                             m_options.junitPath.isEmpty() ? QString() : transcript);
        m_cardsStarted = card;
        return run;
    } catch (const KestrinError& error) {
        ConsoleText::SayError(error.message() + QStringLiteral("; the line takes no more cards"));
        m_ownStatus = int(ExitStatus::Error);
        m_stopping = true;
        return nullptr;
    }
}

void LineRun::CardDone(const CardResult& result)
{
    m_results << result;
    if (Ended())
        m_loop.quit();
}

int LineRun::Report()
{
    ConsoleText::WriteErr(SummaryTable(m_results));
    int status = std::max(WorstStatus(m_results), m_ownStatus);
    if (m_options.junitPath.isEmpty())
        return status;
    QStringList itemNames;
    for (const RunItem& item : m_options.items)
        itemNames << ItemName(item);
    try {
        SaveFile(m_options.junitPath, JUnitXml({m_interfaces, itemNames, m_options.checkPath}, m_results));
    } catch (const FileError& error) {
        ConsoleText::SayError(error.message());
        status = std::max(status, int(ExitStatus::Usage));
    }
    return status;
}
