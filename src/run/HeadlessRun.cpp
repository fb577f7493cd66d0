#include "run/HeadlessRun.h"

#include "base/KestrinError.h"
#include "base/SaveFile.h"
#include "datafile/DataTransmitter.h"
#include "link/ReaderNote.h"
#include "run/ConsoleText.h"
#include "run/ItemLines.h"
#include "run/StopSignals.h"
#include "script/ScriptInterpreter.h"
#include "trace/T0Decoder.h"
#include "trace/TraceText.h"
#include "trace/TranscriptCheck.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTimer>
#include <algorithm>
#include <csignal>
#include <limits>

HeadlessRun::HeadlessRun(const RunOptions& options)
    : m_options(options), m_settings(ChooseLinkSettings(options)), m_dialogs(m_stop, options.promptAnswer)
{
}

ExitStatus HeadlessRun::Run()
{
    try {
        Prepare();
    } catch (const KestrinError& error) {
        m_stop.Stop(ExitStatus::Usage, error.message());
        return Ended();
    }
    {
        const StopSignals stopSignals([this](int signal) {
            m_stop.Stop(ExitStatus::Interrupted, signal == SIGINT ? QStringLiteral("interrupted (SIGINT)")
                                                                  : QStringLiteral("stopped (SIGTERM)"));
        });
        QTimer timeout;
        if (m_options.timeoutSeconds) {
            QObject::connect(&timeout, &QTimer::timeout, &timeout, [this] {
                m_stop.Stop(ExitStatus::TimedOut,
                            QStringLiteral("ended after %1 s (--timeout)").arg(*m_options.timeoutSeconds));
            });
            timeout.setSingleShot(true);
            timeout.start(int(std::min(*m_options.timeoutSeconds * 1000, double(std::numeric_limits<int>::max()))));
        }
        RunItems();
        SayWhatWasOwed();
        m_session.Link().Stop();
        QCoreApplication::processEvents(); // bytes read before the stop reach the log and the transcript
    }
    ConsoleText::FinishOut();
    WriteFiles();
    if (!m_stop.Stopped() && !m_options.checkPath.isEmpty())
        Check();
    if (!m_stop.Stopped())
        ReportBytesNeverSent();
    return Ended();
}

ExitStatus HeadlessRun::Ended()
{
    m_statusLines.End(m_stop.Status(), m_stop.Why());
    return m_stop.Status();
}

// Everything that can go wrong before the link opens: the device, the items'
// files, the transcript to check against, the files to write.
void HeadlessRun::Prepare()
{
    if (m_settings.device.isEmpty())
        throw NoDeviceNamed();
    for (const RunItem& item : m_options.items) {
        LoadedItem& loaded = m_items.emplace_back(LoadedItem{item, {}, {}});
        loaded.lines = LoadItemLines(item, loaded.lineNumbers);
    }
    if (!m_options.checkPath.isEmpty())
        m_expected = LoadTranscript(m_options.checkPath);
    CheckOutputFiles(m_options);
}

void HeadlessRun::RunItems()
{
    m_session.Link().Start();
    StopIfCardSilent(m_cardWait.AfterStart());
    if (const QByteArray atr = m_cardWait.Atr(); !atr.isEmpty())
        m_statusLines.Atr(atr);
    if (m_options.baud && !m_stop.Stopped())
        m_session.Link().SetBaudRate(m_options.baud);
    for (qsizetype index = 0; index < m_items.size(); ++index) {
        if (m_stop.Stopped())
            return;
        const LoadedItem& loaded = m_items[index];
        m_statusLines.Item(index + 1);
        RunOne(loaded);
        if (loaded.item.kind == RunItem::Kind::Line)
            StopIfCardSilent(m_cardWait.AfterSending());
    }
    if (m_items.last().item.kind != RunItem::Kind::Line)
        StopIfCardSilent(m_cardWait.AfterSending());
}

void HeadlessRun::RunOne(const LoadedItem& loaded)
{
    const QString& text = loaded.item.text;
    switch (loaded.item.kind) {
    case RunItem::Kind::Script:
        m_scriptHost.SetScriptFolder(QFileInfo(text).absolutePath());
        m_session.SendData([&] {
            StringListLines lines(loaded.lines);
            ScriptInterpreter(m_scriptHost, m_session.scriptState()).Run(lines);
        });
        break;
    case RunItem::Kind::DataFile:
        m_transmitHost.SetLines(text, loaded.lines, loaded.lineNumbers);
        m_progress.Start(QFileInfo(text).fileName(), loaded.lines.size());
        m_session.SendData([&] { DataTransmitter(m_transmitHost).Run(); });
        m_progress.Finish();
        break;
    case RunItem::Kind::Line:
        m_session.RunExclusive([&] { m_session.Link().SendCommand(text); });
        break;
    }
}

void HeadlessRun::StopIfCardSilent(CardWait::End end)
{
    if (end != CardWait::End::NoAnswer)
        return;
    m_stop.Stop(ExitStatus::CardSilent, QStringLiteral("the card was silent for %1 ms (--answer-timeout) while it owed %2")
                                            .arg(m_options.answerTimeoutMs)
                                            .arg(m_cardWait.OwedText()));
}

// A run that ends early (an error, --timeout, a signal) closes the port on whatever the card still owed.
void HeadlessRun::SayWhatWasOwed()
{
    if (m_stop.Stopped() && m_stop.Status() != ExitStatus::CardSilent && m_cardWait.CardOwes())
        ConsoleText::SayError(QStringLiteral("the run ended while the card still owed %1").arg(m_cardWait.OwedText()));
}

void HeadlessRun::WriteFiles()
{
    const auto write = [this](const QString& path, const auto& save) {
        if (path.isEmpty())
            return;
        try {
            save(path);
        } catch (const KestrinError& error) {
            ConsoleText::SayError(error.message());
            m_stop.Stop(ExitStatus::Usage, QStringLiteral("%1 was not written").arg(QDir::toNativeSeparators(path)));
        }
    };
    write(m_options.logPath, [this](const QString& path) { m_log.Save(path); });
    write(m_options.recordPath, [this](const QString& path) { SaveFile(path, m_session.Transcript().FileText()); });
    const LinkTimeline& timeline = m_session.Link().Timeline();
    write(m_options.tracePath, [&timeline](const QString& path) { SaveFile(path, TraceText(DecodeT0(timeline))); });
    write(m_options.pcapPath, [this](const QString&) { m_pcap.Finish(); });
}

void HeadlessRun::Check()
{
    const QString difference = TranscriptDifference(m_expected, m_session.Transcript().Lines(),
                                                    QDir::toNativeSeparators(m_options.checkPath) + QStringLiteral(" (expected)"),
                                                    QStringLiteral("this run (seen)"));
    if (difference.isEmpty())
        return;
    ConsoleText::WriteErr(difference);
    m_stop.Stop(ExitStatus::Differs,
                QStringLiteral("the transcript differs from %1").arg(QDir::toNativeSeparators(m_options.checkPath)));
}

// A run whose every item went through still fails when bytes it sent never
// reached the card: the Active Log's PC/SC reader lines say which.
void HeadlessRun::ReportBytesNeverSent()
{
    if (const qsizetype count = BytesNeverSentToTheCard(m_session.Link().Timeline()))
        m_stop.Stop(ExitStatus::NotSent, QStringLiteral("%1 bytes sent never reached the card (the log's PC/SC reader "
                                                        "lines say which)").arg(count));
}
