#pragma once

#include "SimCard.h"
#include "SimulatedCard.h"
#include "UniqueFd.h"
#include "VpcdProtocol.h"

#include <QByteArray>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

// The simulator's card (see SimCard.h) in vsmartcard's virtual reader: a thread
// connects to the reader driver (vpcd, inside pcscd) on the local host's port and
// answers its messages; whenever the connection ends (pcscd stopped), it connects
// again once the driver listens. While connected the reader sees a card; pulling
// the card ends the connection until it is inserted again.
// All members may be called from any thread.
class VpcdSimulator {
public:
    using Logger = SimulatedCard::Logger;

    explicit VpcdSimulator(quint16 port = Vpcd::kDefaultPort, const QByteArray& atr = SimCard::DefaultAtr());
    ~VpcdSimulator();
    VpcdSimulator(const VpcdSimulator&) = delete;
    VpcdSimulator& operator=(const VpcdSimulator&) = delete;

    quint16 port() const { return m_port; }
    void setAtr(const QByteArray& atr);
    // Puts another card in the reader, as a card just powered on.
    void setCard(std::unique_ptr<T0Card> card);
    // Told of connections and of everything the card does, on the simulator's
    // thread with its lock held: it must not call back into the simulator.
    void setLogger(Logger logger);
    // Pulls the card out of the reader, or inserts it again as a card just
    // powered on. It starts inserted.
    void setInserted(bool inserted);

    // Connections made to the driver so far.
    int connections() const;
    bool waitForConnections(int count, std::chrono::milliseconds timeout) const;

private:
    void run();
    void connectAndServe();
    void serve(const UniqueFd& connection);
    bool answer(const UniqueFd& connection, QByteArray& pending);
    // Waits for the wake-up or for `fd` to be readable; false once stopping.
    bool wait(int fd, std::chrono::milliseconds limit);
    bool inserted() const;
    void log(const QString& line);

    const quint16 m_port;
    mutable std::mutex m_mutex;
    mutable std::condition_variable m_changed;
    SimulatedCard m_card;
    int m_connections = 0;
    bool m_stop = false;
    bool m_inserted = true;
    UniqueFd m_wake;
    std::thread m_thread;
};
