#pragma once

#include "line/CardResult.h"
#include "line/LineInterfaces.h"

#include <QObject>
#include <memory>

class CardRun;
struct ReaderPresence;

// Where a station gets its cards' runs and hands in their results: the line.
class CardSource {
public:
    virtual ~CardSource() = default;
    // The run of the next card on `face`, not yet started; none once the line
    // takes no more cards.
    virtual std::unique_ptr<CardRun> NextCard(const LineInterface& face) = 0;
    virtual void CardDone(const CardResult& result) = 0;
};

// One card interface of the line with its cards, one after the other. Card
// after card, a card new to the reader starts a run, and the next one starts
// once that card has left and another has come (or the reader has counted a
// card leaving and coming between two looks).
class Station : public QObject {
    Q_OBJECT
public:
    Station(LineInterface face, CardSource& source);
    ~Station() override;

    const LineInterface& Interface() const { return m_face; }
    // Card after card: the reader as it is now.
    void SeeReader(const ReaderPresence& presence);
    // The interface's one card, at once.
    void StartCard();
    bool Busy() const { return m_run != nullptr; }
    void Signal(int signal);

    // "ttyUSB0: 3 cards, 2 passed, 1 failed; card 7: item 2 of 3"
    QString ProgressText(qsizetype itemCount) const;

signals:
    void Changed();

private:
    bool Start();
    void Finish();
    QString StateText(qsizetype itemCount) const;

    const LineInterface m_face;
    CardSource& m_source;
    std::unique_ptr<CardRun> m_run;
    int m_done = 0;
    int m_passed = 0;
    int m_cardEvents = -1;      // the reader's count when the last card started
    bool m_cardStaysIn = false; // that card is still in the reader
};
