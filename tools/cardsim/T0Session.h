#pragma once

#include "CardProfile.h"
#include "SimCard.h"
#include "T0Card.h"

#include <QByteArray>
#include <QMap>

// The T=0 side of the card a profile describes (SimCard).
// After a five-byte header CLA INS P1 P2 P3:
//  - a fixed reply set for the header goes out as it stands, in place of
//    everything the card would send; the P3 data bytes of an instruction that
//    takes data are still taken, and ignored;
//  - an unknown class or instruction is refused at once (6E 00, 6D 00), as is an
//    instruction that takes data with P3 = 00 or one that sends data and fails;
//  - an instruction that takes data sends the procedure byte (INS), takes P3 data
//    bytes, then sends the status word;
//  - an instruction that sends data sends the procedure byte, the data, then the
//    status word.
class T0Session : public T0Card {
public:
    // The card of the profile, its answers among the fixed replies.
    explicit T0Session(const CardProfile& profile = {});

    QByteArray feed(quint8 byte) override;

    // Answers headers that begin with `header` (1 to 5 bytes) with `reply`;
    // the longest matching header wins. An empty reply makes the card keep silent.
    void setReply(const QByteArray& header, const QByteArray& reply);
    void clearReplies();

    void reset() override;
    void abandon() override;
    bool midCommand() const override { return !m_command.isEmpty(); }

private:
    QByteArray headerDone();
    QByteArray dataDone();
    QByteArray finish(const QByteArray& reply);
    void clearCommand();
    const QByteArray* fixedReply() const;
    CardCommand command() const;

    SimCard m_card;
    QMap<QByteArray, QByteArray> m_replies;
    QByteArray m_command;     // header then data, as received
    QByteArray m_sent;        // everything sent for the command so far
    qsizetype m_expected = 5; // bytes of m_command that complete the current step
    bool m_ignoreData = false;
};
