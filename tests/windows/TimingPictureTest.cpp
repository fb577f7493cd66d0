#include "windows/TimingPicture.h"

#include <gtest/gtest.h>

namespace {

constexpr qint64 Us = 1'000;
constexpr qint64 Ms = 1'000'000;

TimingBar Bar(qint64 startUs, qint64 endUs, StatusClass status, qint32 row)
{
    return {startUs * Us, startUs * Us + (endUs - startUs) * Us / 2, startUs * Us + (endUs - startUs) * Us * 3 / 4,
            endUs * Us, row, status};
}

qsizetype Boxes(const TimingPicture& picture)
{
    qsizetype boxes = 0;
    for (const QList<QRectF>& bars : picture.bars)
        boxes += bars.size();
    return boxes;
}

// 1000 pixels for 1 ms: a pixel a microsecond.
const ChartGeometry Geometry = ChartGeometryOf(QSizeF(1000, 100), 12);
const TimeSpan OneMs{0, Ms};

} // namespace

TEST(TimingScale, ZoomAndPanStayWithinTheTraffic)
{
    const TimeSpan whole{0, Ms};
    const struct {
        const char* what;
        TimeSpan got, expected;
    } cases[] = {
        {"in, about the middle", Zoomed(whole, 2, 0.5, whole), {250 * Us, 500 * Us}},
        {"in, about the left edge", Zoomed(whole, 2, 0, whole), {0, 500 * Us}},
        {"out beyond all", Zoomed({250 * Us, 500 * Us}, 0.1, 0.5, whole), whole},
        {"in beyond the shortest", Zoomed(whole, 1e6, 0, whole), {0, ShortestSpanNs}},
        {"past the end", Panned({0, 500 * Us}, 900 * Us, whole), {500 * Us, 500 * Us}},
        {"before the start", Panned({100 * Us, 500 * Us}, -900 * Us, whole), {0, 500 * Us}},
        {"revealing what shows", Revealing({0, 500 * Us}, 100 * Us, 200 * Us, whole), {0, 500 * Us}},
        {"revealing what does not", Revealing({0, 200 * Us}, 600 * Us, 700 * Us, whole), {550 * Us, 200 * Us}},
        {"revealing what is longer", Revealing({0, 100 * Us}, 400 * Us, 600 * Us, whole), {375 * Us, 250 * Us}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.got, c.expected) << c.what << ": " << c.got.startNs << " + " << c.got.lengthNs;
}

TEST(TimingScale, TicksFallOnRoundTimesSinceTheFirstEvent)
{
    const QList<AxisTick> whole = AxisTicks({0, 1'000 * Ms}, 1000, 0, 100);
    ASSERT_EQ(whole.size(), 11);
    EXPECT_EQ(whole[1], (AxisTick{100, "0.1 s"}));
    EXPECT_EQ(whole[10], (AxisTick{1000, "1.0 s"}));
    // From 2 s after the first event, 250 to 750 ms into the span.
    const QList<AxisTick> part = AxisTicks({2'250 * Ms, 500 * Ms}, 500, 0, 100);
    ASSERT_EQ(part.size(), 5);
    EXPECT_EQ(part[0], (AxisTick{50, "2.3 s"}));
    EXPECT_EQ(AxisTicks({0, 40 * Us}, 400, 0, 100).value(1).label, "0.00001 s");
}

TEST(TimingPicture, EachExchangeInViewIsABoxColouredByItsStatusAndThoseSharingAPixelShareOne)
{
    TraceTiming timing;
    timing.bars = {Bar(100, 200, StatusClass::Normal, 2), Bar(300, 400, StatusClass::Warning, 6),
                   Bar(500, 600, StatusClass::Error, 9), Bar(2000, 2100, StatusClass::Normal, 12)};
    TimingPicture picture = DrawTiming(timing, OneMs, Geometry, std::nullopt);
    EXPECT_EQ(picture.bars[int(StatusClass::Normal)], QList<QRectF>{QRectF(100, Geometry.bars.top(), 100, Geometry.bars.height())});
    EXPECT_EQ(picture.bars[int(StatusClass::Warning)].size(), 1);
    EXPECT_EQ(picture.bars[int(StatusClass::Error)].size(), 1);
    ASSERT_EQ(picture.answers.size(), 3) << "the card's answer time in each";
    EXPECT_EQ(picture.answers[0].left(), 150);
    EXPECT_EQ(picture.answers[0].right(), 175);

    // 1000 exchanges of half a microsecond, one a microsecond, on 100 pixels.
    timing.bars.clear();
    for (int i = 0; i < 1000; ++i)
        timing.bars.append({i * Us, -1, -1, i * Us + Us / 2, i, i == 500 ? StatusClass::Error : StatusClass::Normal});
    picture = DrawTiming(timing, OneMs, ChartGeometryOf(QSizeF(100, 100), 12), std::nullopt);
    EXPECT_LE(Boxes(picture), 100);
    EXPECT_EQ(picture.bars[int(StatusClass::Error)].size(), 1) << "the worst of a pixel's exchanges colours it";
    EXPECT_TRUE(picture.answers.isEmpty());
}

TEST(TimingPicture, MarksASelectionAndFindsTheRowUnderAPoint)
{
    TraceTiming timing;
    timing.bars = {Bar(100, 200, StatusClass::Normal, 2), Bar(300, 301, StatusClass::Normal, 6)};
    timing.marks = {{0, 0, TimingMarkKind::Reset}, {150 * Us, 4, TimingMarkKind::Null}, {150 * Us, 4, TimingMarkKind::Null},
                    {170 * Us, 4, TimingMarkKind::Null}};
    const TimingPicture picture = DrawTiming(timing, OneMs, Geometry, TimeRange{300 * Us, 301 * Us});
    EXPECT_EQ(picture.nulls, (QList<double>{150, 170})) << "one mark a pixel";
    EXPECT_EQ(picture.resets, QList<double>{0});
    ASSERT_TRUE(picture.selected);
    EXPECT_EQ(picture.selected->width(), 6) << "a narrow bar's mark is wide enough to see";
    EXPECT_FALSE(DrawTiming(timing, {400 * Us, 500 * Us}, Geometry, TimeRange{300 * Us, 301 * Us}).selected);

    const double barY = Geometry.bars.center().y(), nullY = Geometry.nulls.center().y();
    const struct {
        QPointF point;
        int row;
    } points[] = {{{120, barY}, 2}, {{302, barY}, 6}, {{152, nullY}, 4}, {{150, barY}, 2}, {{1, barY}, 0}, {{250, barY}, -1}};
    for (const auto& p : points)
        EXPECT_EQ(RowAt(timing, OneMs, Geometry, p.point), p.row) << p.point.x() << ", " << p.point.y();
}
