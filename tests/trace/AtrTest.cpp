#include "trace/Atr.h"

#include <QByteArray>
#include <gtest/gtest.h>

namespace {

QString Field(const Atr& atr, const QString& name)
{
    for (const TraceField& field : AtrFields(atr)) {
        if (field.name == name)
            return field.value;
    }
    return QStringLiteral("(no field %1)").arg(name);
}

struct AtrCase {
    const char* name;
    const char* bytes;
    const char* summary;
    const char* tck;
    const char* historical;
};

const AtrCase AtrCases[] = {
    {"simulator, inverse, no TA1 or TD1", "3F 65 25 00 2C 09 69 90 00",
     "ATR: inverse convention, T=0, Fi 372 Di 1 (372 clocks per bit), 5 historical bytes",
     "none due (only T=0 offered)", "2C 09 69 90 00"},
    {"inverse, TA1 and TD1 for T=0 only", "3F 90 18 00",
     "ATR: inverse convention, T=0, Fi 372 Di 12 (31 clocks per bit), 0 historical bytes",
     "none due (only T=0 offered)", ""},
    {"direct, T=1 with a right check byte", "3B F8 13 00 00 81 31 FE 15 59 75 62 69 6B 65 79 34 D4",
     "ATR: direct convention, T=1, Fi 372 Di 4 (93 clocks per bit), 8 historical bytes, check byte right", "D4: right",
     "59 75 62 69 6B 65 79 34 \"Yubikey4\""},
    {"direct, T=1 with a wrong check byte", "3B F8 13 00 00 81 31 FE 15 59 75 62 69 6B 65 79 34 D5",
     "ATR: direct convention, T=1, Fi 372 Di 4 (93 clocks per bit), 8 historical bytes, check byte wrong",
     "D5: check byte wrong (the XOR of T0 to TCK is 01, not 00)", "59 75 62 69 6B 65 79 34 \"Yubikey4\""},
    {"T=0 with global bytes (T=15) needs a check byte",
     "3B 9E 95 80 1F C7 80 31 E0 73 FE 21 1B 63 3A 20 4E 83 00 90 91",
     "ATR: direct convention, T=0, Fi 512 Di 16 (32 clocks per bit), 14 historical bytes, check byte right",
     "91: right", "80 31 E0 73 FE 21 1B 63 3A 20 4E 83 00 90"},
    {"cut short in the interface bytes", "3B F8 13 00 00 81", "ATR cut short: 6 of at least 16 bytes", "missing", ""},
    {"cut short in the historical bytes", "3F 65 25 00 2C", "ATR cut short: 5 of at least 9 bytes",
     "none due (only T=0 offered)", "2C"},
};

} // namespace

TEST(Atr, ParsesTheShapesOfRealCards)
{
    for (const AtrCase& c : AtrCases) {
        SCOPED_TRACE(c.name);
        const Atr atr = ParseAtr(QByteArray::fromHex(c.bytes));
        EXPECT_EQ(AtrSummary(atr), QString::fromLatin1(c.summary));
        EXPECT_EQ(Field(atr, "TCK"), QString::fromLatin1(c.tck));
        EXPECT_EQ(Field(atr, "Historical bytes"), QString::fromLatin1(c.historical));
    }
}

TEST(Atr, NamesEachInterfaceByteByItsPlaceAndProtocol)
{
    const Atr atr = ParseAtr(QByteArray::fromHex("3B F8 13 00 00 81 31 FE 15 59 75 62 69 6B 65 79 34 D4 FF FF"));
    EXPECT_EQ(atr.bytes.size(), 18) << "bytes after the check byte are not part of the ATR";
    EXPECT_EQ(Field(atr, "TA1"), "13: Fi 372 (f max 5 MHz), Di 4");
    EXPECT_EQ(Field(atr, "TC1"), "00: extra guard time 0 etu");
    EXPECT_EQ(Field(atr, "TD1"), "81: T=1, more interface bytes follow");
    EXPECT_EQ(Field(atr, "TA3"), "FE: IFSC 254 bytes");
    EXPECT_EQ(Field(atr, "TB3"), "15: BWI 1, CWI 5");
    EXPECT_EQ(Field(ParseAtr(QByteArray::fromHex("3B 9E 95 80 1F C7")), "TA3"), "C7: clock stop no preference, classes A B C");
}

TEST(Atr, SurvivesAnyBytes)
{
    // Every T0 with interface-byte chains as long as the bytes allow.
    for (int t0 = 0; t0 < 256; ++t0) {
        QByteArray bytes = QByteArray::fromHex("3F");
        bytes.append(char(t0));
        bytes.append(QByteArray(40, char(0xF1)));
        const Atr atr = ParseAtr(bytes);
        EXPECT_LE(atr.bytes.size(), bytes.size());
        EXPECT_FALSE(AtrSummary(atr).isEmpty());
        EXPECT_FALSE(AtrFields(atr).isEmpty());
    }
    EXPECT_EQ(AtrSummary(ParseAtr({})), "ATR cut short: 0 of at least 2 bytes");
}
