#pragma once

#include <QByteArray>
#include <QtGlobal>
#include <vector>

enum class FileKind { Master, Dedicated, Transparent, LinearFixed };

// Who may read or update a file; the values are the nibbles shown in the file
// information: 0 always, 1 to 14 once that PIN is verified, F never.
enum class Access : quint8 { Always = 0x0, Pin = 0x1, Never = 0xF };

constexpr quint8 kLastPin = 14;
constexpr quint16 kMasterFile = 0x3F00;

inline Access AfterPin(quint8 pin)
{
    return Access(pin);
}

struct CardFile {
    quint16 id = 0;
    FileKind kind = FileKind::Transparent;
    quint16 parent = kMasterFile; // the MF or DF holding it; 0 for the MF
    QByteArray data;      // a linear fixed file holds its records one after another
    int recordLength = 0; // linear fixed files only
    Access read = Access::Always;
    Access update = Access::Never;

    int recordCount() const { return recordLength > 0 ? int(data.size() / recordLength) : 0; }
    bool operator==(const CardFile&) const = default;
};

// The MF alone, with no file under it.
inline CardFile MasterFile()
{
    return {kMasterFile, FileKind::Master, 0, {}, 0, Access::Always, Access::Never};
}

// The sample card's files, all directly under the MF:
//   3F00 MF
//   2FE2 ICCID, transparent, 10 bytes 98 94 00 01 23 45 67 89 01 F2, never updated
//   0001 transparent, 16 bytes: "HELLO CARD" then FF; updated once the PIN is verified
//   0002 linear fixed, 5 records of 16 bytes: "ALICE", "BOB", "CAROL", "DAVE", "EVE", FF-padded
std::vector<CardFile> DefaultCardFiles();

// The 15 bytes that GET RESPONSE returns after a successful SELECT:
//    0- 1  00 00         (reserved)
//    2- 3  file size     (MF: 00 00; linear fixed: records x record length)
//    4- 5  file id
//    6     file type     (01 MF, 02 DF, 04 EF)
//    7     00            (reserved)
//    8     access        (read nibble, update nibble: 0 always, 1 PIN, F never)
//    9-10  00 00         (reserved)
//   11     01            (file status: valid)
//   12     02            (number of bytes that follow)
//   13     structure     (00 transparent, MF or DF, 01 linear fixed)
//   14     record length (00 unless linear fixed)
QByteArray FileInformation(const CardFile& file);

constexpr int kFileInformationSize = 15;
