#pragma once

#include "run/CardWait.h"
#include "run/ConsoleDialogs.h"
#include "run/ConsoleHosts.h"
#include "run/ConsoleLog.h"
#include "run/DataFileProgress.h"
#include "run/LinkSettings.h"
#include "run/PcapOutput.h"
#include "run/RunOptions.h"
#include "run/RunStop.h"
#include "run/StatusLines.h"
#include "session/CardSession.h"
#include "session/SessionHost.h"

// One run of kestrin-run: the items of the command line in order on one card
// link, opened once, through the same session, interpreter and transmitter as
// the window. After the start, each command line and the last item it waits for
// the card (CardWait). Whatever ends the run, the port is closed and the files
// the command line names are written with what happened up to then.
class HeadlessRun : public SessionHost {
public:
    explicit HeadlessRun(const RunOptions& options);

    ExitStatus Run();

    Dialogs& dialogs() override { return m_dialogs; }
    // "Ready." after each item: the window's status label only.
    void SetStatus(const QString&, quint32) override {}

private:
    struct LoadedItem {
        RunItem item;
        QStringList lines; // a script's lines, a data file's Raw Data lines
        QList<qsizetype> lineNumbers; // a data file's: the file's line of each Raw Data line
    };

    void Prepare();
    void RunItems();
    void RunOne(const LoadedItem& loaded);
    void StopIfCardSilent(CardWait::End end);
    void SayWhatWasOwed();
    void WriteFiles();
    void Check();
    void ReportBytesNeverSent();
    // Tells a supervising program how the run ended; the exit status.
    ExitStatus Ended();

    const RunOptions& m_options;
    RunStop m_stop;
    StatusLines m_statusLines{m_options.statusFd};
    LinkSettings m_settings;
    ConsoleLog m_log{!m_options.quiet && !PcapStreams(m_options)};
    ConsoleDialogs m_dialogs;
    DataFileProgress m_progress;
    ConsoleLinkHost m_linkHost{m_session, m_settings, m_log, m_dialogs};
    ConsoleTransmitHost m_transmitHost{m_session, m_settings, m_log, m_progress};
    ConsoleScriptHost m_scriptHost{m_session, m_options.parameters, m_log, m_stop};
    CardSession m_session{m_linkHost, *this};
    CardWait m_cardWait{m_session.Link(), std::chrono::milliseconds(m_options.idleMs),
                        std::chrono::milliseconds(m_options.answerTimeoutMs)};
    PcapOutput m_pcap{m_options, m_session.Link(), m_stop};
    QList<LoadedItem> m_items;
    QStringList m_expected; // the --check transcript
};
