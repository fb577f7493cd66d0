#pragma once

#include "PcscdProcess.h"
#include "cardsim/VpcdSimulator.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>
#include <vector>

// A PC/SC reader with the simulator's card in it, for tests: a pcscd of its own
// (PcscdProcess) with vsmartcard's virtual reader driver on a free port, and the
// simulator's vpcd front end as the card. Ready once pcscd reports the card.
// With several cards, the driver's two readers on each pair of ports hold one
// each (a pair past the first through a copy of the driver), so no reader is
// left empty but perhaps the last.
// This process's PC/SC calls all go to that pcscd's socket (pcsc-lite reads the
// socket's name once per process), so the tests never see the system's readers.
class VirtualReader {
public:
    // Throws std::runtime_error (with pcscd's log) when the reader never comes up.
    explicit VirtualReader(const QByteArray& atr = SimCard::DefaultAtr());
    // A card for each answer to reset.
    explicit VirtualReader(const QList<QByteArray>& atrs);
    ~VirtualReader();

    // The reader that holds the card; the driver adds a second, empty one.
    static QString ReaderName();
    // Points this process's PC/SC calls at the private socket; call it before any.
    static void UsePrivateSocket();

    VpcdSimulator& Card(qsizetype index = 0) { return *m_cards[size_t(index)]; }
    // Stops pcscd, as a system does when it shuts the service down.
    void StopPcscd() { m_pcscd.reset(); }
    // Returns once pcscd reports every card in its reader (`present`) or none.
    void WaitForCard(bool present);

private:
    QTemporaryDir m_folder;
    std::unique_ptr<PcscdProcess> m_pcscd;
    std::vector<std::unique_ptr<VpcdSimulator>> m_cards;
};
