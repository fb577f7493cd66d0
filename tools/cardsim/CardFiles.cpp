#include "CardFiles.h"

namespace {

QByteArray Padded(const QByteArray& text, int length)
{
    return text + QByteArray(length - text.size(), char(0xFF));
}

QByteArray NameRecords()
{
    constexpr int recordLength = 16;
    QByteArray records;
    for (const char* name : {"ALICE", "BOB", "CAROL", "DAVE", "EVE"})
        records += Padded(name, recordLength);
    return records;
}

quint8 FileType(FileKind kind)
{
    switch (kind) {
    case FileKind::Master: return 0x01;
    case FileKind::Dedicated: return 0x02;
    default: return 0x04;
    }
}

} // namespace

std::vector<CardFile> DefaultCardFiles()
{
    return {
        MasterFile(),
        {0x2FE2, FileKind::Transparent, kMasterFile, QByteArray::fromHex("98 94 00 01 23 45 67 89 01 F2"), 0,
         Access::Always, Access::Never},
        {0x0001, FileKind::Transparent, kMasterFile, Padded("HELLO CARD", 16), 0, Access::Always, Access::Pin},
        {0x0002, FileKind::LinearFixed, kMasterFile, NameRecords(), 16, Access::Always, Access::Never},
    };
}

QByteArray FileInformation(const CardFile& file)
{
    const auto size = quint16(file.data.size());
    const quint8 bytes[kFileInformationSize] = {
        0x00, 0x00,
        quint8(size >> 8), quint8(size),
        quint8(file.id >> 8), quint8(file.id),
        FileType(file.kind),
        0x00,
        quint8(quint8(file.read) << 4 | quint8(file.update)),
        0x00, 0x00,
        0x01,
        0x02,
        quint8(file.kind == FileKind::LinearFixed ? 0x01 : 0x00),
        quint8(file.recordLength),
    };
    return QByteArray(reinterpret_cast<const char*>(bytes), kFileInformationSize);
}
