#include "main/ActiveLogText.h"

#include <gtest/gtest.h>

using namespace ActiveLogText;

TEST(ActiveLogText, EveryKindOfLineEndBecomesOneNewline)
{
    EXPECT_EQ(NormalisedLineEnds("a\r\nb\rc\nd\r\r\ne"), "a\nb\nc\nd\n\ne");
    EXPECT_EQ(NormalisedLineEnds(QString::fromUtf16(u"x\u2029y")), "x\ny");
    EXPECT_EQ(NormalisedLineEnds(QString::fromUtf16(u"\uFDD0\uFDD1\u2028")), QString::fromUtf16(u"\uFFFD\uFFFD\u2028"));
    EXPECT_EQ(NormalisedLineEnds("3F "), "3F ");
}

TEST(ActiveLogText, AReceivedByteReadsAsTwoUpperCaseDigitsAndABlank)
{
    for (int byte = 0; byte < 256; ++byte) {
        const QString text = QString(ByteChar(quint8(byte), 0)) + ByteChar(quint8(byte), 1) + ByteChar(quint8(byte), 2);
        ASSERT_EQ(text, QStringLiteral("%1 ").arg(byte, 2, 16, QChar(u'0')).toUpper());
        ASSERT_TRUE(IsByteAt(text, 0));
        ASSERT_EQ(ByteAt(text, 0), byte);
    }
    EXPECT_TRUE(IsByteAt(u"x9A ", 1));
    for (const char* text : {"3f ", "3F", "3F\t", "G0 ", " 3F", "3F\n"})
        EXPECT_FALSE(IsByteAt(QString::fromLatin1(text), 0)) << text;
}
