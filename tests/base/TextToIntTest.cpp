#include "base/KestrinError.h"
#include "base/TextToInt.h"

#include <gtest/gtest.h>

TEST(TextToInt, AcceptsDecimalAndPrefixedHexadecimal)
{
    EXPECT_EQ(TextToInt("500"), 500);
    EXPECT_EQ(TextToInt("  -5"), -5);
    EXPECT_EQ(TextToInt("+7"), 7);
    EXPECT_EQ(TextToInt("$1F"), 31);
    EXPECT_EQ(TextToInt("0x10"), 16);
    EXPECT_EQ(TextToInt("0XfF"), 255);
    EXPECT_EQ(TextToInt(" 2"), 2);
    EXPECT_EQ(TextToInt("2147483647"), 2147483647);
    EXPECT_EQ(TextToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(TextToInt("$FFFFFFFF"), -1);
}

TEST(TextToInt, RejectsEverythingElseWithTheFrameworkMessage)
{
    // Digits of other scripts and full-width digits are no digits: Arabic-Indic three,
    // full-width one zero, Devanagari seven after "$".
    for (const char* bad : {"", " ", "NA", "2 ", "two", "1.5", "$", "0x", "+", "2147483648", "$100000000", "12a",
                            "\u0663", "\uFF11\uFF10", "$\u096D", "1\uFF10"}) {
        EXPECT_FALSE(ParseInt(QString::fromUtf8(bad)).has_value()) << bad;
        try {
            TextToInt(QString::fromUtf8(bad));
            ADD_FAILURE() << "no error for '" << bad << "'";
        } catch (const ConversionError& error) {
            EXPECT_EQ(error.message(), QStringLiteral("'%1' is not a valid integer value").arg(QString::fromUtf8(bad)));
        }
    }
}
