#include "T0Session.h"

namespace {

constexpr qsizetype kHeaderSize = 5;

} // namespace

T0Session::T0Session(const CardProfile& profile) : m_card(profile), m_replies(profile.answers) {}

QByteArray T0Session::feed(quint8 byte)
{
    m_command.append(char(byte));
    if (m_command.size() < m_expected)
        return {};
    return m_command.size() == kHeaderSize ? headerDone() : dataDone();
}

void T0Session::setReply(const QByteArray& header, const QByteArray& reply)
{
    m_replies.insert(header.left(kHeaderSize), reply);
}

void T0Session::clearReplies()
{
    m_replies.clear();
}

void T0Session::reset()
{
    clearCommand();
    m_card.reset();
}

void T0Session::abandon()
{
    clearCommand();
}

QByteArray T0Session::headerDone()
{
    const quint8 ins = quint8(m_command[1]);
    const quint8 p3 = quint8(m_command[4]);
    const bool dataFollows = SimCard::TakesData(ins) && p3 > 0;
    if (const QByteArray* reply = fixedReply()) {
        if (!dataFollows)
            return finish(*reply);
        m_ignoreData = true;
        m_expected = kHeaderSize + p3;
        m_sent = *reply;
        return *reply;
    }
    if (dataFollows && SimCard::Accepts(quint8(m_command[0]), ins)) {
        m_expected = kHeaderSize + p3;
        m_sent = QByteArray(1, char(ins));
        return m_sent;
    }
    const CardAnswer answer = m_card.run(command());
    const QByteArray procedure = answer.data.isEmpty() ? QByteArray() : QByteArray(1, char(ins));
    return finish(procedure + answer.data + answer.status);
}

QByteArray T0Session::dataDone()
{
    if (m_ignoreData)
        return finish({});
    return finish(m_card.run(command()).status);
}

QByteArray T0Session::finish(const QByteArray& reply)
{
    m_sent += reply;
    observe(m_command, m_sent);
    clearCommand();
    return reply;
}

void T0Session::clearCommand()
{
    m_command.clear();
    m_sent.clear();
    m_expected = kHeaderSize;
    m_ignoreData = false;
}

const QByteArray* T0Session::fixedReply() const
{
    for (qsizetype length = kHeaderSize; length > 0; --length) {
        const auto found = m_replies.constFind(m_command.left(length));
        if (found != m_replies.constEnd())
            return &*found;
    }
    return nullptr;
}

CardCommand T0Session::command() const
{
    const auto byte = [this](int i) { return quint8(m_command[i]); };
    return {byte(0), byte(1), byte(2), byte(3), byte(4), m_command.mid(kHeaderSize)};
}
