#include "common/PcapPayloads.h"

#include <QtEndian>
#include <algorithm>

namespace {

constexpr qsizetype FileHeaderSize = 24;
constexpr qsizetype RecordHeaderSize = 16;

// Where the tags that begin at `tag` end (after their end tag), or -1 when they run past `end`.
qsizetype TagsEnd(const QByteArray& file, qsizetype tag, qsizetype end)
{
    while (tag + 4 <= end) {
        const quint16 code = qFromBigEndian<quint16>(file.constData() + tag);
        tag += 4 + qFromBigEndian<quint16>(file.constData() + tag + 2);
        if (code == 0)
            return tag <= end ? tag : -1;
    }
    return -1;
}

} // namespace

QList<QByteArray> PcapPayloads(const QByteArray& file)
{
    QList<QByteArray> payloads;
    for (qsizetype record = FileHeaderSize; record + RecordHeaderSize <= file.size();) {
        const qsizetype end = record + RecordHeaderSize + qFromLittleEndian<quint32>(file.constData() + record + 8);
        const qsizetype payload = TagsEnd(file, record + RecordHeaderSize, std::min(end, file.size()));
        if (end > file.size() || payload < 0)
            break;
        payloads.append(file.mid(payload, end - payload));
        record = end;
    }
    return payloads;
}
