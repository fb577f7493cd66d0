#include "SimulatedCard.h"

#include "HexBytes.h"

SimulatedCard::SimulatedCard()
{
    session.setObserver([this](const QByteArray& command, const QByteArray& reply) {
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
    session.reset();
    return atr;
}
