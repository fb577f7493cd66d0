#include "TimelineSteps.h"

#include "base/KestrinError.h"
#include "base/SaveFile.h"
#include "common/PcapPayloads.h"
#include "common/Tshark.h"
#include "trace/PcapExport.h"
#include "trace/T0Decoder.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(PcapExport, WritesUpperLayerPacketsWithDissectorAndDirection)
{
    const QByteArray file = PcapFile(DecodeT0(Steps("open 5000001000; < 3B 00; > 00 B0 00 00 01; < B0 42 90 00")));
    const QByteArray expected = QByteArray::fromHex(
        "D4C3B2A1 0200 0400 00000000 00000000 00000400 FC000000" // microseconds, v2.4, snapshot, link type 252
        "05000000 E9030000 1A000000 1A000000"                     // 5.001001 s, 26 bytes
        "000C0008 69736F3738313600 00230004 00000001 00000000 3B00" // iso7816, from the card: the ATR
        "05000000 D1070000 1D000000 1D000000"
        "000C0008 69736F3738313600 00230004 00000000 00000000 00B0000001" // the command
        "05000000 591B0000 2D000000 2D000000"                              // data, protocol "T=0 procedure"
        "000C0008 6461746100000000 00210010 543D302070726F6365647572650000 00 00230004 00000001 00000000 B0"
        "05000000 591B0000 1B000000 1B000000"
        "000C0008 69736F3738313600 00230004 00000001 00000000 429000"); // its data and status word
    EXPECT_EQ(file.toHex(' ').toStdString(), expected.toHex(' ').toStdString());
}

TEST(PcapExport, CarriesEveryByteOfTheTrafficInPacketsTsharkReads)
{
    const QByteArray file = PcapFile(DecodeT0(Steps(
        "open 0; < 3F 65 25 00 2C 09 69 90 00 AA; > FF 10 94 7B; < FF 10 94 7B FF 10 94 7B; > A0 A4 00 00 02;"
        "< A0 A4 00 00 02 60 A4; > 3F 00; < 3F 00 77 9F 0F; > 00 B0")));
    const QList<QByteArray> expected{
        QByteArray::fromHex("3F 65 25 00 2C 09 69 90 00"), QByteArray::fromHex("AA"),
        QByteArray::fromHex("FF 10 94 7B"), QByteArray::fromHex("FF 10 94 7B"), QByteArray::fromHex("FF 10 94 7B"),
        QByteArray::fromHex("A0 A4 00 00 02 3F 00 9F 0F"), QByteArray::fromHex("A0 A4 00 00 02"),
        QByteArray::fromHex("60"), QByteArray::fromHex("A4"), QByteArray::fromHex("3F 00"),
        QByteArray::fromHex("77"), QByteArray::fromHex("00 B0")};
    EXPECT_EQ(PcapPayloads(file), expected);

    QTemporaryDir dir;
    const QString path = dir.filePath("every-byte.pcap");
    SaveFile(path, file);
    const auto shows = TsharkShows(path, {"Column protocol string: T=0 unrecognised", "Column protocol string: PPS request",
                                          "Column protocol string: T=0 echo", "Column protocol string: T=0 NULL",
                                          "Data: 77", "GSM SIM 11.11", "Column protocol string: T=0 header cut short"});
    if (!shows)
        GTEST_SKIP() << TsharkMissing;
    EXPECT_TRUE(*shows);
}

TEST(PcapExport, SavingWhereNoFileCanBeMadeSaysWhy)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("missing/trace.pcap");
    try {
        SavePcap(path, DemoRun());
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_TRUE(error.message().startsWith(QStringLiteral("Cannot create file \"%1\".").arg(path)));
    }
}

TEST(PcapExport, TsharkDecodesTheAtrAndAGsmSelect)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("run.pcap");
    SavePcap(path, DemoRun());
    const auto shows = TsharkShows(path, {"Epoch Time: 1767225601.011250000 seconds", "ISO 7816 ATR",
                                          "Initial character: Inverse convention", "Historical bytes: 2c09699000",
                                          "GSM SIM 11.11", "Instruction: SELECT (0xa4)", "File ID: MF (0x3f00)",
                                          "Status Word: 9f0f Length of the response data, Length is 15",
                                          "ISO 7816 Response APDU", "Clock rate conversion factor Fi: 372",
                                          "Baud rate adjustment factor Di: 12"});
    if (!shows)
        GTEST_SKIP() << TsharkMissing;
    EXPECT_TRUE(*shows);
}
