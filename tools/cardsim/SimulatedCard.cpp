#include "SimulatedCard.h"

#include "HexBytes.h"
#include "T0Session.h"

SimulatedCard::SimulatedCard()
{
    use(std::make_unique<T0Session>());
}

void SimulatedCard::use(std::unique_ptr<T0Card> card)
{
    session = std::move(card);
    session->setObserver([this](const QByteArray& command, const QByteArray& reply) {
        log(HexText(command) + " -> " + HexText(reply));
    });
}

void SimulatedCard::log(const QString& line) const
{
    if (logger)
        logger(line);
}

QByteArray SimulatedCard::answerToReset()
{
    session->reset();
    return atr;
}
