#include "ReplayCard.h"

#include "HexBytes.h"

#include <algorithm>

namespace {

constexpr qsizetype kHeaderSize = 5;

// Bytes that differ between two commands, the longer one's extra bytes counted.
qsizetype Distance(const RecordedExchange& recorded, const QByteArray& command)
{
    const qsizetype common = std::min(recorded.command.size(), command.size());
    qsizetype distance = std::max(recorded.command.size(), command.size()) - common;
    for (qsizetype index = 0; index < common; ++index)
        distance += recorded.matches(index, quint8(command[index])) ? 0 : 1;
    return distance;
}

} // namespace

ReplayCard::ReplayCard(Recording recording, Options options, Report report)
    : m_recording(std::move(recording)), m_options(std::move(options)), m_report(std::move(report))
{
}

QByteArray ReplayCard::feed(quint8 byte)
{
    m_command.append(char(byte));
    const qsizetype index = m_command.size() - 1;
    const bool stillMatches = m_match && index < exchange(*m_match).command.size()
                              && exchange(*m_match).matches(index, byte);
    if (!m_unknown && !stillMatches) {
        m_match = find();
        m_unknown = !m_match;
    }
    if (m_unknown)
        return m_command.size() >= std::max(m_owedAt, kHeaderSize) ? refuse() : QByteArray();
    return answersDue();
}

void ReplayCard::reset()
{
    abandon();
    m_next = 0;
}

void ReplayCard::abandon()
{
    m_match.reset();
    m_command.clear();
    m_sent.clear();
    m_answered = 0;
    m_owedAt = kHeaderSize;
    m_unknown = false;
}

// Whether the exchange begins with the command so far and would have sent what was sent.
bool ReplayCard::follows(std::size_t index) const
{
    const RecordedExchange& recorded = exchange(index);
    if (recorded.command.size() < m_command.size() || recorded.answers.size() < m_answered)
        return false;
    for (qsizetype at = 0; at < m_command.size(); ++at)
        if (!recorded.matches(at, quint8(m_command[at])))
            return false;
    QByteArray sent;
    for (qsizetype answer = 0; answer < m_answered; ++answer)
        sent += recorded.answers[answer].bytes;
    return sent == m_sent && (m_answered == recorded.answers.size() || recorded.answers[m_answered].after >= m_command.size());
}

std::optional<std::size_t> ReplayCard::find() const
{
    const std::size_t count = m_recording.exchanges.size();
    const std::size_t tries = m_options.anyOrder ? count : std::min<std::size_t>(count, 1);
    for (std::size_t step = 0; step < tries; ++step)
        if (const std::size_t index = (m_next + step) % count; follows(index))
            return index;
    return std::nullopt;
}

QByteArray ReplayCard::answersDue()
{
    const RecordedExchange& recorded = exchange(*m_match);
    QByteArray out;
    while (m_answered < recorded.answers.size() && recorded.answers[m_answered].after <= m_command.size())
        out += recorded.answers[m_answered++].bytes;
    m_sent += out;
    if (m_answered < recorded.answers.size() || m_command.size() < recorded.command.size()) {
        m_owedAt = m_answered < recorded.answers.size() ? recorded.answers[m_answered].after : recorded.command.size();
        return out;
    }
    m_next = *m_match + 1;
    return finish(out);
}

QByteArray ReplayCard::refuse()
{
    if (m_report)
        m_report(QStringLiteral("unknown command %1 answered %2; %3")
                     .arg(HexText(m_command), HexText(m_options.unknownStatus), nearest()));
    m_sent += m_options.unknownStatus;
    return finish(m_options.unknownStatus);
}

QByteArray ReplayCard::finish(const QByteArray& last)
{
    observe(m_command, m_sent);
    abandon();
    return last;
}

QString ReplayCard::nearest() const
{
    const auto& exchanges = m_recording.exchanges;
    if (exchanges.empty())
        return QStringLiteral("the recording holds no command");
    const auto closer = [this](const RecordedExchange& a, const RecordedExchange& b) {
        return Distance(a, m_command) < Distance(b, m_command);
    };
    const auto found = std::min_element(exchanges.begin(), exchanges.end(), closer);
    return QStringLiteral("the nearest recorded command is %1 (command %2 of %3)")
        .arg(HexText(found->command))
        .arg(found - exchanges.begin() + 1)
        .arg(exchanges.size());
}
