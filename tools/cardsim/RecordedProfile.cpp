#include "RecordedProfile.h"

#include <algorithm>

namespace {

constexpr qsizetype kHeaderSize = 5;

struct Command {
    quint8 ins, p1, p2, p3;
    QByteArray data;     // sent to the card
    QByteArray response; // data from the card, procedure byte and status word left out
    bool succeeded;      // 90 00, or 61 xx / 9F xx after a SELECT
};

Command Decode(const RecordedExchange& exchange)
{
    const auto at = [&exchange](int index) { return quint8(exchange.command[index]); };
    const QByteArray reply = exchange.reply();
    const QByteArray status = reply.right(2);
    const quint8 sw1 = status.size() == 2 ? quint8(status[0]) : 0;
    const bool succeeded = status == QByteArray::fromHex("9000") || sw1 == 0x61 || sw1 == 0x9F;
    const bool dataOut = reply.size() > 2 && quint8(reply[0]) == at(1);
    return {at(1), at(2), at(3), at(4), exchange.command.mid(kHeaderSize),
            dataOut ? reply.mid(1, reply.size() - 3) : QByteArray(), succeeded};
}

// Writes `bytes` at `offset` of `data`, FF filling any gap.
void Place(QByteArray& data, qsizetype offset, const QByteArray& bytes)
{
    if (data.size() < offset + bytes.size())
        data = data.leftJustified(offset + bytes.size(), char(0xFF));
    data.replace(offset, bytes.size(), bytes);
}

class ProfileBuilder {
public:
    explicit ProfileBuilder(const QByteArray& atr)
    {
        m_profile.atr = atr;
        m_profile.files = {MasterFile()};
        m_profile.pins.clear();
    }

    void add(const Command& command)
    {
        if (!command.succeeded)
            return;
        if (command.ins == 0xA4 && command.data.size() == 2)
            select(quint16(quint8(command.data[0]) << 8 | quint8(command.data[1])));
        else if (command.ins == 0xB0 && !(command.p1 & 0x80) && isFile(FileKind::Transparent))
            Place(current().data, command.p1 << 8 | command.p2, command.response);
        else if (command.ins == 0xB2 && command.p2 == 0x04 && command.p1 > 0 && !command.response.isEmpty())
            readRecord(command);
        else if (command.ins == 0x20 && !command.data.isEmpty())
            verified(command.p2, command.data);
    }

    CardProfile finish() { return m_profile; }

private:
    CardFile& current() { return m_profile.files[m_current]; }
    // The selected EF, when it is of that kind or may still become one.
    bool isFile(FileKind kind)
    {
        const CardFile& file = current();
        return m_current > 0 && file.kind != FileKind::Dedicated && (file.kind == kind || file.data.isEmpty());
    }

    void select(quint16 id)
    {
        const bool dedicated = (id >> 8) == 0x7F || (id >> 8) == 0x5F;
        const quint16 parent = id == kMasterFile ? 0 : m_folder;
        auto& files = m_profile.files;
        const auto found = std::find_if(files.begin(), files.end(), [id, parent](const CardFile& file) {
            return file.id == id && file.parent == parent;
        });
        m_current = std::size_t(found - files.begin());
        if (found == files.end())
            files.push_back({id, dedicated ? FileKind::Dedicated : FileKind::Transparent, parent, {}, 0,
                             Access::Always, Access::Never});
        if (id == kMasterFile || dedicated)
            m_folder = id;
    }

    void readRecord(const Command& command)
    {
        if (!isFile(FileKind::LinearFixed))
            return;
        CardFile& file = current();
        file.kind = FileKind::LinearFixed;
        file.recordLength = file.recordLength > 0 ? file.recordLength : int(command.response.size());
        if (command.response.size() == file.recordLength)
            Place(file.data, (command.p1 - 1) * file.recordLength, command.response);
    }

    void verified(quint8 number, const QByteArray& value)
    {
        const auto same = [number](const CardPin& pin) { return pin.number == number; };
        if (number >= 1 && number <= kLastPin && std::none_of(m_profile.pins.begin(), m_profile.pins.end(), same))
            m_profile.pins.push_back({number, value, 3});
    }

    CardProfile m_profile;
    std::size_t m_current = 0;
    quint16 m_folder = kMasterFile;
};

} // namespace

CardProfile RecordedProfile(const Recording& recording)
{
    ProfileBuilder builder(recording.atr);
    for (const RecordedExchange& exchange : recording.exchanges)
        if (exchange.command.size() >= kHeaderSize)
            builder.add(Decode(exchange));
    return builder.finish();
}
