#pragma once

#include "LineOutput.h"
#include "SimulatedCard.h"

#include <QByteArray>
#include <QString>
#include <condition_variable>
#include <exception>
#include <mutex>

// What the simulator's thread and its callers share; every field is guarded by
// `mutex`, and `changed` is notified after each of the thread's rounds.
struct SimulatorState {
    enum class Request { None, HangUp, Restore };

    std::mutex mutex;
    std::condition_variable changed;

    // Settings.
    bool echo = true;
    bool cardSilent = false; // the card takes every byte and answers none
    Pace answerPace;         // of the card's answers
    SimulatedCard card;

    // The line.
    QString devicePath; // empty while hung up
    bool online = false; // the program has the port open and configured
    int opens = 0;
    int closes = 0;
    QByteArray received; // decoded, in order
    LineOutput output;   // line bytes waiting to go out

    // Asked of the thread, which clears `request` when done.
    bool stop = false;
    Request request = Request::None;
    std::exception_ptr requestError;

    void log(const QString& line) const { card.log(line); }
};
