#pragma once

#include "line/CardResult.h"
#include "line/LineInterfaces.h"
#include "line/Station.h"
#include "link/ReaderPresence.h"
#include "run/RunOptions.h"

#include <QEventLoop>
#include <QTemporaryDir>
#include <QTimer>
#include <memory>
#include <vector>

// Whether the command line asks for a production line rather than one run:
// several card interfaces, "pcsc:*", card after card, or a JUnit report.
bool IsProductionLine(const RunOptions& options);

// kestrin-run as a production line: the same items on several card interfaces
// at once, each card a run of its own (CardRun), and with --each-card card
// after card in each PC/SC reader until --cards or SIGINT (which lets the cards
// under way finish; a second one, one without --each-card, and SIGTERM are
// passed on to them, and the line still reports). On a terminal a line per interface shows how it goes. Ends with a
// table of the cards on standard error, the JUnit report if asked for, and the
// worst exit status of the cards.
class LineRun : private CardSource {
public:
    explicit LineRun(const RunOptions& options) : m_options(options) {}

    int Run();

private:
    void Prepare();
    void Start();
    void LookForCards();
    void ShowProgress() const;
    void Stop(int signal);
    bool TakesMoreCards() const;
    bool Ended() const;
    int Report();
    QString TranscriptPath(const LineInterface& face, int card) const;

    std::unique_ptr<CardRun> NextCard(const LineInterface& face) override;
    void CardDone(const CardResult& result) override;

    const RunOptions& m_options;
    QList<LineInterface> m_interfaces;
    std::vector<std::unique_ptr<Station>> m_stations;
    QList<CardResult> m_results;
    int m_cardsStarted = 0;
    bool m_stopping = false;
    bool m_readersFailing = false;
    int m_ownStatus = 0; // the line's own trouble, beside its cards'
    std::unique_ptr<QTemporaryDir> m_transcripts; // for the JUnit report, when --record keeps none
    QEventLoop m_loop;
    ReaderLook m_readerLook;
    QTimer m_readerTimer;
    QTimer m_progress;
};
