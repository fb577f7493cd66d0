#pragma once

#include "FakeLinkHost.h"
#include "cardsim/CardSimulator.h"
#include "link/CardLink.h"

#include <QString>
#include <QStringList>
#include <chrono>
#include <functional>
#include <ostream>
#include <gtest/gtest.h>

// Patience of every wait: it only ends a failing test; nothing is timed by it.
inline constexpr std::chrono::seconds Patience{10};

// The simulator's default ATR as the response and the Active Log show it.
inline const QString AtrText = QStringLiteral("3F 65 25 00 2C 09 69 90 00 ");

// The real card link, its worker and its serial port, against the card
// simulator over a pseudo-terminal; a fake window records what the link shows.
class LinkOnPty : public ::testing::Test {
protected:
    LinkOnPty();
    ~LinkOnPty() override;

    // Message-pump passes until `done` holds; false if it never does.
    static bool PumpUntil(const std::function<bool()>& done);
    // Starts the link and waits until the card's ATR has been shown.
    void StartAndTakeAtr();
    // Waits until the response ends with `text` (the card has answered).
    bool PumpUntilResponseEnds(const QString& text);
    // The decoded bytes the card has received, once `count` of them have come.
    QByteArray ReceivedOnceThere(qsizetype count);

    CardSimulator m_simulator;
    FakeLinkHost m_host;
    CardLink m_link{m_host};
};

// Box texts in a failure message as they stand.
inline void PrintTo(const QStringList& texts, std::ostream* out) { *out << '{' << texts.join(" | ").toStdString() << '}'; }

// The number of this process's open file descriptors.
int OpenDescriptors();
// Runs `action` at the next message-pump pass (from inside a send's byte delay).
void AtNextPass(std::function<void()> action);
// The system's text for an errno value, as the "GetLastError" box shows it.
QString SystemText(int error);
// The link's events from `first` on, one text each ("open", "baud 9600", "line 8",
// "close"), with each run of traffic in one text: "out" and the bytes sent, "in" and
// the bytes received (left out unless `withReceived`), each run joined, because how
// the line cuts it into chunks is the system's choice. Checks that the times never
// go back.
QStringList TimelineTexts(const LinkTimeline& timeline, qsizetype first = 0, bool withReceived = true);
// Decoded bytes from hexadecimal text.
QByteArray Bytes(const char* hex);
