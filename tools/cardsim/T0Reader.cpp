#include "T0Reader.h"

#include <limits>
#include <optional>

namespace {

constexpr qsizetype kHeaderSize = 5;
constexpr quint8 kNull = 0x60;
const QByteArray kWrongLength = QByteArray::fromHex("67 00");
constexpr qsizetype kAll = std::numeric_limits<qsizetype>::max();

// The command as the card takes it over T=0.
struct Tpdu {
    QByteArray header;
    QByteArray data; // to the card
    qsizetype expected = 0; // data bytes from the card
};

std::optional<Tpdu> ToTpdu(const QByteArray& apdu)
{
    if (apdu.size() == 4)
        return Tpdu{apdu + '\0', {}, 0};
    if (apdu.size() < kHeaderSize)
        return std::nullopt;
    const quint8 p3 = quint8(apdu[4]);
    if (apdu.size() == kHeaderSize)
        return Tpdu{apdu, {}, p3 == 0 ? 256 : p3};
    const qsizetype withData = kHeaderSize + p3;
    if (p3 == 0 || (apdu.size() != withData && apdu.size() != withData + 1))
        return std::nullopt;
    return Tpdu{apdu.left(kHeaderSize), apdu.mid(kHeaderSize, p3), 0};
}

bool IsSw1(quint8 byte)
{
    return byte != kNull && ((byte & 0xF0) == 0x60 || (byte & 0xF0) == 0x90);
}

// One command's procedure-byte dialogue with the card.
class Exchange {
public:
    Exchange(T0Card& card, Tpdu tpdu) : m_card(card), m_tpdu(std::move(tpdu)) {}

    QByteArray run()
    {
        send(m_tpdu.header);
        const quint8 ins = quint8(m_tpdu.header[1]);
        while (m_next < m_replies.size()) {
            const quint8 byte = quint8(m_replies[m_next++]);
            if (IsSw1(byte))
                return m_next < m_replies.size() ? m_received + char(byte) + m_replies[m_next++] : QByteArray();
            const bool followed = byte == kNull || (byte == ins && transfer(kAll)) || (byte == quint8(~ins) && transfer(1));
            if (!followed)
                return {};
        }
        return {};
    }

private:
    // Moves up to `count` data bytes the way the command's data goes; false when
    // the card sends while it should be taking data.
    bool transfer(qsizetype count)
    {
        if (m_sent < m_tpdu.data.size()) {
            if (m_next < m_replies.size())
                return false;
            const QByteArray part = m_tpdu.data.mid(m_sent, count);
            m_sent += part.size();
            send(part);
            return true;
        }
        const QByteArray part = m_replies.mid(m_next, std::min(count, m_tpdu.expected - m_received.size()));
        m_next += part.size();
        m_received += part;
        return true;
    }

    void send(const QByteArray& bytes)
    {
        for (const char byte : bytes)
            m_replies += m_card.feed(quint8(byte));
    }

    T0Card& m_card;
    const Tpdu m_tpdu;
    QByteArray m_replies; // everything the card has sent
    qsizetype m_next = 0;  // the first of them not yet looked at
    qsizetype m_sent = 0;  // data bytes given to the card
    QByteArray m_received; // data bytes taken from the card
};

} // namespace

QByteArray ExchangeApdu(T0Card& card, const QByteArray& apdu)
{
    const std::optional<Tpdu> tpdu = ToTpdu(apdu);
    if (!tpdu)
        return kWrongLength;
    const QByteArray response = Exchange(card, *tpdu).run();
    if (card.midCommand())
        card.abandon();
    return response;
}
