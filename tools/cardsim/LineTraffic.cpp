#include "LineTraffic.h"

#include "link/InvertBytes.h"

#include <algorithm>
#include <chrono>
#include <utility>

namespace {

using namespace std::chrono_literals;

// A command left unfinished this long is dropped, as a card's work waiting
// time would end it, so one mistyped line does not shift every later command.
// It is long enough for an operator to type a command's data as a second line.
constexpr auto kWorkWaitingTime = 60s;

} // namespace

void LineTraffic::receive(PtyDevice& device)
{
    const QByteArray wire = device.read();
    if (wire.isEmpty())
        return;
    m_lastReceived = Clock::now();
    QByteArray out;
    for (const char byte : wire) {
        if (m_state.echo)
            out.append(byte);
        const quint8 decoded = InvertByte(quint8(byte));
        m_state.received.append(char(decoded));
        if (m_state.cardSilent)
            continue;
        QByteArray reply = m_state.card.session->feed(decoded);
        InvertBytes(reply);
        if (m_state.answerPace.baud == 0) {
            out += reply;
        } else if (!reply.isEmpty()) {
            m_state.output.append(std::exchange(out, {}), {}, m_lastReceived);
            m_state.output.append(reply, m_state.answerPace, m_lastReceived);
        }
    }
    m_state.output.append(out, {}, m_lastReceived);
}

void LineTraffic::transmit(PtyDevice& device)
{
    for (;;) {
        const Clock::time_point now = Clock::now();
        const QByteArray bytes = m_state.output.due(now);
        const qsizetype written = bytes.isEmpty() ? 0 : device.write(bytes);
        m_state.output.written(written, now);
        if (written == 0 || written < bytes.size())
            return;
    }
}

void LineTraffic::dropStaleCommand()
{
    if (m_state.card.session->midCommand() && Clock::now() - m_lastReceived >= kWorkWaitingTime) {
        m_state.card.session->abandon();
        m_state.log(QStringLiteral("unfinished command dropped"));
    }
}

LineTraffic::Wait LineTraffic::nextWait(Clock::time_point now) const
{
    Wait wait;
    if (const auto due = m_state.output.nextDue(); due && *due > now)
        wait.limit = *due - now;
    else
        wait.forRoom = due.has_value();
    if (m_state.card.session->midCommand()) {
        const Clock::duration stale = std::max(m_lastReceived + kWorkWaitingTime - now, Clock::duration::zero());
        wait.limit = std::min(wait.limit.value_or(stale), stale);
    }
    return wait;
}
