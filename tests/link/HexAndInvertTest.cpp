#include "link/HexToken.h"
#include "link/InvertBytes.h"

#include <gtest/gtest.h>

TEST(InvertBytes, IsItsOwnInverseAndMatchesKnownPairs)
{
    for (int byte = 0; byte < 256; ++byte)
        EXPECT_EQ(InvertByte(InvertByte(quint8(byte))), byte);
    const std::pair<quint8, quint8> pairs[] = {{0x03, 0x3F}, {0x3B, 0x23}, {0x00, 0xFF}, {0x80, 0xFE}};
    for (auto [a, b] : pairs) {
        EXPECT_EQ(InvertByte(a), b);
        EXPECT_EQ(InvertByte(b), a);
    }
    QByteArray line = QByteArray::fromHex("00A40400");
    InvertBytes(line);
    EXPECT_EQ(line.toHex(' ').toUpper(), "FF DA DF FF");
}

TEST(ScanHex, ReadsTheLeadingNumberAsPercentX)
{
    EXPECT_EQ(ScanHex(u"3b"), 0x3Bu);
    EXPECT_EQ(ScanHex(u"0x3F"), 0x3Fu);
    EXPECT_EQ(ScanHex(u"13B").value() & 0xFF, 0x3Bu);
    EXPECT_EQ(ScanHex(u"1FF").value() & 0xFF, 0xFFu);
    EXPECT_EQ(ScanHex(u"1F,"), 0x1Fu);
    EXPECT_EQ(ScanHex(u"\t A0"), 0xA0u);
    EXPECT_EQ(ScanHex(u"-1").value() & 0xFF, 0xFFu);
    EXPECT_EQ(ScanHex(u"0xZ"), 0u);
    EXPECT_EQ(ScanHex(u"0x"), 0u);
    EXPECT_EQ(ScanHex(u"123456789AB").value() & 0xFF, 0xABu);
}

TEST(ScanHex, IsEmptyWithoutALeadingHexNumber)
{
    for (const char16_t* text : {u"", u"ZZ", u",", u";", u"-", u"x1"})
        EXPECT_FALSE(ScanHex(text).has_value());
}

TEST(HexText, IsUpperCaseAndAtLeastTwoDigits)
{
    EXPECT_EQ(HexText(0x7), "07");
    EXPECT_EQ(HexText(0x3f), "3F");
    EXPECT_EQ(HexText(0x100), "100");
}
