#include "session/CardSession.h"

#include "base/Colours.h"
#include "base/Dialogs.h"
#include "base/ErrorBoundary.h"
#include "base/MessagePump.h"
#include "link/CommandLine.h"
#include "link/LinkMessages.h"

#include <QScopedValueRollback>

namespace {
// Passes before a start, so a start never runs inside the click that asked for it.
constexpr qint64 SettlingPasses = 10000;
} // namespace

CardSession::CardSession(LinkHost& linkHost, SessionHost& host) : m_host(host), m_link(linkHost) {}

QString CardSession::ResponseText() const { return ::ResponseText(m_response); }

void CardSession::AppendResponse(const QByteArray& bytes)
{
    m_response.append(bytes);
}

void CardSession::ClearResponse() { m_response.clear(); }

TranscriptRecorder& CardSession::Transcript()
{
    m_transcript.Follow(m_link.Timeline());
    return m_transcript;
}

void CardSession::StartCard()
{
    const QScopedValueRollback busy(m_busy, Busy::Starting);
    if (MessagePump::PumpTimes(SettlingPasses))
        m_link.Start();
}

void CardSession::SendData(const std::function<void()>& transmit)
{
    RunExclusive([&] {
        if (!m_link.PortHandle()) {
            m_host.dialogs().ShowMessage(QStringLiteral("COMMUNICATIONS not initialized"));
            return;
        }
        const bool wasPolling = m_link.Polling();
        transmit();
        if (wasPolling && !m_link.Polling()) // the interface went away during the run
            m_host.SetStatus(LinkClosedStatus(), Colours::Red);
        else
            m_host.SetStatus(QStringLiteral("Ready."), Colours::Green);
    });
}

void CardSession::RunExclusive(const std::function<void()>& run)
{
    if (m_busy != Busy::No) {
        m_host.dialogs().ShowMessage(m_busy == Busy::Starting ? QStringLiteral("The link is being initialized.")
                                                              : QStringLiteral("A transmission is already running."));
        return;
    }
    const QScopedValueRollback busy(m_busy, Busy::Transmitting);
    RunGuarded(m_host.dialogs(), run);
}

bool CardSession::RefusedDuringTransmission(const QString& refusal)
{
    if (m_busy != Busy::Transmitting)
        return false;
    m_host.dialogs().ShowMessage(refusal);
    return true;
}
