#pragma once

#include <QByteArray>
#include <functional>

// The card's side of the T=0 protocol, fed the bytes it receives one at a time
// and returning the bytes to send back (all decoded, not line bytes): the
// profile's card (T0Session) or a recorded one (ReplayCard).
class T0Card {
public:
    using Observer = std::function<void(const QByteArray& command, const QByteArray& reply)>;

    virtual ~T0Card() = default;

    virtual QByteArray feed(quint8 byte) = 0;
    // A new card session: drops a command under way and resets the card.
    virtual void reset() = 0;
    // Drops a command under way (its header or data are incomplete).
    virtual void abandon() = 0;
    virtual bool midCommand() const = 0;

    // Told every finished command and everything sent for it.
    void setObserver(Observer observer) { m_observer = std::move(observer); }

protected:
    void observe(const QByteArray& command, const QByteArray& reply) const
    {
        if (m_observer)
            m_observer(command, reply);
    }

private:
    Observer m_observer;
};
