#include "base/KestrinError.h"
#include "link/CommandLine.h"
#include "link/DeviceName.h"

#include <gtest/gtest.h>

namespace {
QByteArray Hex(const char* text) { return QByteArray::fromHex(text); }
} // namespace

TEST(DecodeCommand, ReadsOneBytePerSpaceSeparatedToken)
{
    EXPECT_EQ(DecodeCommand("00 A4 04 00"), Hex("00A40400"));
    EXPECT_EQ(DecodeCommand("   3b    00  "), Hex("3B00"));
    EXPECT_EQ(DecodeCommand("0x3F 1FF 13B 1F,"), Hex("3FFF3B1F"));
    EXPECT_TRUE(DecodeCommand("").isEmpty());
    EXPECT_TRUE(DecodeCommand("     ").isEmpty());
}

TEST(DecodeCommand, OnlyBlanksSeparate)
{
    EXPECT_EQ(DecodeCommand("A0,B0 C0"), Hex("A0C0"));
    EXPECT_EQ(DecodeCommand("A0\tB0 C0"), Hex("A0C0"));
}

// Such a token's byte would be unsettled: the whole line is refused, naming it.
TEST(DecodeCommand, ATokenThatDoesNotBeginWithAHexNumberRefusesTheLine)
{
    const std::pair<const char*, const char*> lines[] = {
        {"ZZ 11", "ZZ"}, {"11 22 , 33", ","}, {"A0 -", "-"}, {"00 A4 00 00 02 G0", "G0"}};
    for (const auto& [line, token] : lines) {
        try {
            DecodeCommand(line);
            ADD_FAILURE() << "accepted: " << line;
        } catch (const HexLineError& error) {
            EXPECT_EQ(error.message(), QStringLiteral("'%1' is not a hexadecimal number; the line was not sent").arg(token));
        }
    }
}

TEST(DecodeCommand, AcceptsLinesOfAnyLength)
{
    QString line;
    for (int i = 0; i < 1000; ++i)
        line += QStringLiteral("%1 ").arg(i % 256, 2, 16, QLatin1Char('0'));
    const QByteArray bytes = DecodeCommand(line);
    ASSERT_EQ(bytes.size(), 1000);
    EXPECT_EQ(quint8(bytes[999]), 999 % 256);
}

TEST(ResponseText, IsTwoUpperCaseDigitsAndABlankPerByte)
{
    EXPECT_EQ(ResponseText(Hex("3F9000")), "3F 90 00 ");
    EXPECT_EQ(ResponseText({}), "");
    EXPECT_EQ(ResponseText(Hex("0AFF")), "0A FF ");
}

TEST(DevicePath, MapsPortNamesOntoDevices)
{
    EXPECT_EQ(DevicePath("COM1"), "/dev/ttyS0");
    EXPECT_EQ(DevicePath("com12"), "/dev/ttyS11");
    EXPECT_EQ(DevicePath("ttyUSB0"), "/dev/ttyUSB0");
    EXPECT_EQ(DevicePath("/dev/pts/3"), "/dev/pts/3");
    EXPECT_EQ(DevicePath("COM0"), "/dev/COM0");
    EXPECT_EQ(DevicePath("COM1x"), "/dev/COM1x");
    EXPECT_EQ(DevicePath(""), "");
}
