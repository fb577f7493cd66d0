#include "main/ActiveLogRows.h"

#include <QRandomGenerator>
#include <gtest/gtest.h>

namespace {

// Every character one wide: a row of width 10 holds ten.
class EvenWidths : public LogCharWidths {
public:
    qreal Width(QChar, quint16) const override { return 1; }
    qreal TabDistance() const override { return 8; }
};

struct Wrapped {
    ActiveLogContent content;
    EvenWidths widths;
    ActiveLogRows rows{content, widths};

    Wrapped(const QString& text, qreal width)
    {
        content.Insert(0, text, content.FormatIndex({}));
        rows.Reset(width);
    }
    QList<qsizetype> AllStarts(qsizetype line) const { return rows.RowStarts(line, 0, rows.RowsIn(line)); }
    QStringList Rows(qsizetype line) const
    {
        const QList<qsizetype> starts = AllStarts(line);
        QStringList pieces;
        for (qsizetype i = 0; i + 1 < starts.size(); ++i)
            pieces << content.LinePart(line, starts[i], starts[i + 1]);
        return pieces;
    }
};

QString Bytes(int count)
{
    QString text;
    for (int i = 0; i < count; ++i)
        text += QStringLiteral("%1 ").arg(i & 0xFF, 2, 16, QChar(u'0')).toUpper();
    return text;
}

// The same rows as wrapping the same text afresh, found row by row through the marks.
void ExpectLikeAFreshWrap(const Wrapped& log, qreal width)
{
    Wrapped fresh(log.content.Text(0, log.content.Length()), width);
    ASSERT_EQ(log.rows.RowCount(), fresh.rows.RowCount());
    for (qsizetype line = 0; line < log.content.LineCount(); ++line) {
        const QList<qsizetype> starts = fresh.AllStarts(line);
        ASSERT_EQ(log.AllStarts(line), starts) << "line " << line;
        EXPECT_EQ(log.rows.FirstRow(line), fresh.rows.FirstRow(line));
        for (qsizetype row = 0; row + 1 < starts.size(); row += 7) {
            EXPECT_EQ(log.rows.RowStarts(line, row, 1), (QList<qsizetype>{starts[row], starts[row + 1]})) << row;
            EXPECT_EQ(log.rows.RowOf(line, starts[row] + 1), row);
            EXPECT_EQ(log.rows.LineOfRow(log.rows.FirstRow(line) + row), line);
        }
    }
}

} // namespace

TEST(ActiveLogRows, RowsBreakAfterTheLastBlankThatFits)
{
    EXPECT_EQ(Wrapped("0123456789", 10).Rows(0), QStringList({"0123456789"}));
    EXPECT_EQ(Wrapped("3F 3F 3F 3F 3F 3F ", 10).Rows(0), QStringList({"3F 3F 3F ", "3F 3F 3F "}));
    EXPECT_EQ(Wrapped("abcdefghijklmnopqrstuvwxy", 10).Rows(0), QStringList({"abcdefghij", "klmnopqrst", "uvwxy"}));
    EXPECT_EQ(Wrapped("a bcdefghijklm", 10).Rows(0), QStringList({"a ", "bcdefghijk", "lm"}));
    EXPECT_EQ(Wrapped("ab\tcdefgh ij", 10).Rows(0), QStringList({"ab\t", "cdefgh ij"}));
    // Blanks run on past the edge rather than start a row.
    EXPECT_EQ(Wrapped("abcdefghi    j", 10).Rows(0), QStringList({"abcdefghi    ", "j"}));
}

TEST(ActiveLogRows, ARowNeverPartsASurrogatePair)
{
    const QString line = QString(9, u'a') + QString::fromUtf8("😀") + "bc";
    EXPECT_EQ(Wrapped(line, 10).Rows(0), QStringList({QString(9, u'a') + QString::fromUtf8("😀"), "bc"}));
}

// A stream of bytes into one line, then inserts in its middle (a blank into the
// first word of a row, a line end) and more lines: kept up to date row by row, the
// rows stay those of a fresh wrap.
TEST(ActiveLogRows, UpdatesMatchAFreshWrap)
{
    constexpr qreal width = 49; // a row of 16 bytes has room for one more digit
    Wrapped log("", width);
    const quint16 plain = log.content.FormatIndex({});
    const auto insert = [&](qsizetype at, const QString& text) {
        const qsizetype line = log.content.LineOf(at), lines = log.content.LineCount();
        log.content.Insert(at, text, plain);
        log.rows.Update(line, at - log.content.LineStart(line), text.size(), log.content.LineCount() - lines);
    };
    for (int chunk = 0; chunk < 40; ++chunk)
        insert(log.content.Length(), Bytes(50 + chunk));
    ASSERT_GT(log.rows.RowsIn(0), 3 * ActiveLogRows::RowsPerMark);
    ExpectLikeAFreshWrap(log, width);

    const qsizetype rowStart = log.AllStarts(0)[2 * ActiveLogRows::RowsPerMark]; // a marked row
    insert(rowStart + 1, " ");
    ExpectLikeAFreshWrap(log, width);
    insert(rowStart + 700, "\nPRINT output\n");
    insert(log.content.Length(), "\n" + Bytes(2000));
    ExpectLikeAFreshWrap(log, width);
    log.rows.Reset(17);
    ExpectLikeAFreshWrap(log, 17);
}

// Inserts of bytes, blanks, words and line ends anywhere, even inside a byte's
// characters: the text reads back as a plain string would, and the rows stay those
// of a fresh wrap.
TEST(ActiveLogRows, RandomInsertsKeepTextAndRowsExact)
{
    constexpr qreal width = 23;
    const QStringList texts{Bytes(40), Bytes(1), " ", "word", "\n", "9", "AB CD\nEF ", Bytes(300)};
    QRandomGenerator random(7);
    Wrapped log("", width);
    QString expected;
    for (int step = 0; step < 300; ++step) {
        const QString text = texts[random.bounded(int(texts.size()))];
        const qsizetype at = step % 3 == 0 ? expected.size() : random.bounded(int(expected.size()) + 1);
        const qsizetype line = log.content.LineOf(at), lines = log.content.LineCount();
        log.content.Insert(at, text, log.content.FormatIndex({}));
        log.rows.Update(line, at - log.content.LineStart(line), text.size(), log.content.LineCount() - lines);
        expected.insert(at, text);
        ASSERT_EQ(log.content.Text(0, log.content.Length()), expected) << "step " << step;
        if (step % 50 == 49)
            ExpectLikeAFreshWrap(log, width);
    }
}
