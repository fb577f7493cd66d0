#pragma once

#include "SimCard.h"
#include "T0Session.h"

#include <QByteArray>
#include <QString>
#include <functional>

// The card as every front end of the simulator presents it: its T=0 session, its
// answer to reset and a log of what it does. Every command answered is logged as
// "command -> reply". Not thread-safe: the front end's lock guards it.
struct SimulatedCard {
    using Logger = std::function<void(const QString& line)>;

    SimulatedCard();
    SimulatedCard(const SimulatedCard&) = delete;
    SimulatedCard& operator=(const SimulatedCard&) = delete;

    void log(const QString& line) const;
    // A new card session: the command under way is dropped, the card reset.
    // Returns the answer to reset.
    QByteArray answerToReset();

    T0Session session;
    QByteArray atr = SimCard::DefaultAtr();
    Logger logger;
};
