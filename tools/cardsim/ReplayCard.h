#pragma once

#include "Recording.h"
#include "T0Card.h"

#include <QByteArray>
#include <QString>
#include <functional>
#include <optional>

// A recorded card (see Recording.h): it answers each command byte for byte as
// the recording's card did, each answer once it has as many command bytes as
// that card had. Commands are matched in order: the one after the last one
// replayed, from the first after every reset. With `anyOrder`, a command that is
// not the next is looked for onward from there, then from the start, so a
// script that repeats a command still gets its answer. A command the recording
// does not hold gets `unknownStatus` where the recorded card would have
// answered next (after the header at the latest), and is reported with the
// nearest recorded command.
class ReplayCard : public T0Card {
public:
    using Report = std::function<void(const QString& line)>;
    struct Options {
        bool anyOrder = false;
        QByteArray unknownStatus = QByteArray::fromHex("6D 00");
    };

    ReplayCard(Recording recording, Options options, Report report = {});

    QByteArray feed(quint8 byte) override;
    void reset() override;
    void abandon() override;
    bool midCommand() const override { return !m_command.isEmpty(); }

private:
    const RecordedExchange& exchange(std::size_t index) const { return m_recording.exchanges[index]; }
    bool follows(std::size_t index) const;
    std::optional<std::size_t> find() const;
    QByteArray answersDue();
    QByteArray refuse();
    QByteArray finish(const QByteArray& last);
    QString nearest() const;

    const Recording m_recording;
    const Options m_options;
    const Report m_report;
    std::size_t m_next = 0;             // the exchange expected next
    std::optional<std::size_t> m_match; // the exchange being replayed
    QByteArray m_command;               // received so far
    QByteArray m_sent;                  // sent for it so far
    qsizetype m_answered = 0;           // answers of m_match sent
    qsizetype m_owedAt = 5;             // the command bytes after which the card answers next
    bool m_unknown = false;             // no recorded exchange matches the command
};
