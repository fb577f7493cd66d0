#pragma once

#include "CardProfile.h"
#include "T0Card.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <memory>

// The card as every front end of the simulator presents it: its T=0 side (the
// sample card unless another is put in), its answer to reset and a log of what
// it does. Every command answered is logged as
// "command -> reply". Not thread-safe: the front end's lock guards it.
struct SimulatedCard {
    using Logger = std::function<void(const QString& line)>;

    SimulatedCard();
    SimulatedCard(const SimulatedCard&) = delete;
    SimulatedCard& operator=(const SimulatedCard&) = delete;

    void log(const QString& line) const;
    // Puts in another card, observed as the first one was.
    void use(std::unique_ptr<T0Card> card);
    // A new card session: the command under way is dropped, the card reset.
    // Returns the answer to reset.
    QByteArray answerToReset();

    std::unique_ptr<T0Card> session;
    QByteArray atr = CardProfile::DefaultAtr();
    Logger logger;
};
