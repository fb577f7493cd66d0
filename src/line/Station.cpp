#include "line/Station.h"

#include "line/CardRun.h"
#include "link/ReaderPresence.h"

Station::Station(LineInterface face, CardSource& source) : m_face(std::move(face)), m_source(source) {}

Station::~Station() = default;

void Station::SeeReader(const ReaderPresence& presence)
{
    m_cardStaysIn = presence.cardPresent && presence.cardEvents == m_cardEvents;
    if (m_run || !presence.cardPresent || presence.cardEvents == m_cardEvents)
        return;
    if (Start()) {
        m_cardEvents = presence.cardEvents;
        m_cardStaysIn = true;
    }
}

void Station::StartCard() { Start(); }

bool Station::Start()
{
    m_run = m_source.NextCard(m_face);
    if (!m_run)
        return false;
    connect(m_run.get(), &CardRun::Changed, this, &Station::Changed);
    connect(m_run.get(), &CardRun::Finished, this, &Station::Finish);
    m_run->Start();
    emit Changed();
    return true;
}

void Station::Signal(int signal)
{
    if (m_run)
        m_run->Signal(signal);
}

// Called from the run's own signal: the run goes once it has returned.
void Station::Finish()
{
    const CardResult result = m_run->Result();
    m_run.release()->deleteLater();
    ++m_done;
    m_passed += result.status == 0 ? 1 : 0;
    m_source.CardDone(result);
    emit Changed();
}

QString Station::ProgressText(qsizetype itemCount) const
{
    return QStringLiteral("%1: %2 cards, %3 passed, %4 failed; %5")
        .arg(m_face.label)
        .arg(m_done)
        .arg(m_passed)
        .arg(m_done - m_passed)
        .arg(StateText(itemCount));
}

QString Station::StateText(qsizetype itemCount) const
{
    if (m_run && m_run->ItemRunning() == 0)
        return QStringLiteral("card %1: starting").arg(m_run->Result().card);
    if (m_run)
        return QStringLiteral("card %1: item %2 of %3").arg(m_run->Result().card).arg(m_run->ItemRunning()).arg(itemCount);
    if (!m_face.reader || m_cardEvents < 0)
        return m_done > 0 ? QStringLiteral("done") : QStringLiteral("waiting for a card");
    return m_cardStaysIn ? QStringLiteral("take the card out") : QStringLiteral("waiting for a card");
}
