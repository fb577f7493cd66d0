#include "TimelineSteps.h"

#include "cardsim/SimulatedRun.h"
#include "trace/T0Decoder.h"
#include "trace/TraceFilterModel.h"
#include "trace/TraceModel.h"
#include "trace/TraceText.h"

#include <QAbstractItemModelTester>
#include <gtest/gtest.h>

namespace {

using namespace std::chrono_literals;

void Append(LinkTimeline& timeline, const LinkEvent& event)
{
    switch (event.kind) {
    case LinkEventKind::Sent: timeline.AddSent(event.timeNs, event.bytes); break;
    case LinkEventKind::Received: timeline.AddReceived(event.timeNs, event.bytes); break;
    case LinkEventKind::Opened: timeline.AddOpened(event.timeNs, event.value); break;
    case LinkEventKind::Closed: timeline.AddClosed(event.timeNs); break;
    case LinkEventKind::BaudChanged: timeline.AddBaudChanged(event.timeNs, int(event.value)); break;
    case LinkEventKind::LineControl: timeline.AddLineControl(event.timeNs, LineFunction(event.value)); break;
    case LinkEventKind::ReaderNote: timeline.AddReaderNote(event.timeNs, quint8(event.value), event.bytes); break;
    }
}

// What a view shows: every row's columns, kept up to date by the model's signals alone.
class ShownRows {
public:
    explicit ShownRows(const QAbstractItemModel& model) : m_model(model)
    {
        QObject::connect(&model, &QAbstractItemModel::rowsInserted, [this](const QModelIndex&, int first, int last) {
            for (int row = first; row <= last; ++row)
                m_rows.insert(row, Line(row));
        });
        QObject::connect(&model, &QAbstractItemModel::dataChanged, [this](const QModelIndex& top, const QModelIndex& bottom) {
            for (int row = top.row(); row <= bottom.row(); ++row)
                m_rows[row] = Line(row);
        });
        QObject::connect(&model, &QAbstractItemModel::rowsRemoved, [this](const QModelIndex&, int first, int last) {
            m_rows.remove(first, last - first + 1);
        });
        QObject::connect(&model, &QAbstractItemModel::modelReset, [this] { m_rows.clear(); });
    }
    const QStringList& rows() const { return m_rows; }

private:
    QString Line(int row) const
    {
        QStringList columns;
        for (int column = 0; column < m_model.columnCount(); ++column)
            columns.append(m_model.index(row, column).data().toString());
        return columns.join(u'\t');
    }
    const QAbstractItemModel& m_model;
    QStringList m_rows;
};

QStringList Lines(const Trace& trace)
{
    QStringList lines;
    for (const TraceRow& row : trace.rows)
        lines.append(TraceLine(trace, row));
    return lines;
}

} // namespace

// However the events come in, a view that follows the signals ends up showing
// the rows of the whole timeline decoded at once; through a filter, those of
// them that hold its text, also where a row comes to hold it as it grows. The
// second timeline's commands overlap, and its interface turns out not to echo.
TEST(TraceModel, FollowsAGrowingTimelineAndAnnouncesEveryChange)
{
    const struct {
        LinkTimeline whole;
        const char* filter;
    } timelines[] = {
        {DemoRun(), "ECHO of 2 bytes"}, // a row of five bytes echoed holds it for a while
        {Steps("open 0; < 3F 65 25 00 2C 09 69 90 00; > FF 10 94 7B; < FF 10 94 7B; > A0 B0 00 00 02;"
               "> A0 F2 00 00 03; > A0 C0 00 00 01; < B0 12 34 90; < 00; < F2 01 02 03 90 00; < C0 55 90 00"),
         "-> 90 00"},
    };
    for (const auto& [whole, filterText] : timelines) {
        const QStringList lines = Lines(DecodeT0(whole));
        for (const qsizetype step : {qsizetype(1), qsizetype(3), qsizetype(7), whole.Size()}) {
            LinkTimeline growing;
            TraceModel model(growing);
            TraceFilterModel filter(model);
            filter.SetText(filterText);
            QAbstractItemModelTester modelTester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
            QAbstractItemModelTester filterTester(&filter, QAbstractItemModelTester::FailureReportingMode::Fatal);
            ShownRows shown(model);
            ShownRows filtered(filter);
            for (qsizetype next = 0; next < whole.Size();) {
                for (const qsizetype end = std::min(whole.Size(), next + step); next < end; ++next)
                    Append(growing, whole.At(next));
                EXPECT_TRUE(model.Update(1s));
            }
            EXPECT_EQ(shown.rows().join(u'\n').toStdString(), lines.join(u'\n').toStdString())
                << "events " << step << " at a time";
            EXPECT_EQ(filtered.rows().join(u'\n').toStdString(),
                      lines.filter(QString::fromLatin1(filterText), Qt::CaseInsensitive).join(u'\n').toStdString())
                << "events " << step << " at a time";
        }
    }
}

TEST(TraceModel, AnUpdateLeavesEventsForLaterAnEmptiedTimelineStartsAfreshALongRowIsCut)
{
    SimulatedRun run;
    run.Open();
    while (run.Timeline().Size() <= TraceModel::MostEventsHanded)
        run.Send(QByteArray::fromHex("00 B0 00 00 02"));
    LinkTimeline timeline = run.Timeline();
    TraceModel model(timeline);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_FALSE(model.Update(1s));
    EXPECT_LT(model.rowCount(), DecodeT0(timeline).rows.size());
    while (!model.Update(0ms)) {
    }
    EXPECT_EQ(model.rowCount(), DecodeT0(timeline).rows.size());

    timeline.Clear();
    timeline.AddOpened(0, 0);
    timeline.AddReceived(1, QByteArray(1000, '\x11'));
    EXPECT_TRUE(model.Update(1s));
    ASSERT_EQ(model.rowCount(), 2);
    EXPECT_EQ(model.index(0, MeaningColumn).data().toString().left(11), "port opened");
    EXPECT_TRUE(model.index(1, BytesColumn).data().toString().endsWith("11 11 ... (1000 bytes)"));
}

TEST(TraceModel, FieldsBelongToAtrsAndExchangesAndTheFilterNarrowsByAnyColumn)
{
    const LinkTimeline timeline = DemoRun();
    TraceModel model(timeline);
    model.Update(1s);
    EXPECT_TRUE(model.Fields(0).isEmpty()) << "the port's open";
    EXPECT_EQ(model.Fields(1).value(0).name, "TS") << "the ATR";
    EXPECT_FALSE(model.Fields(2).isEmpty()) << "the SELECT's header";

    TraceFilterModel filter(model);
    QAbstractItemModelTester tester(&filter, QAbstractItemModelTester::FailureReportingMode::Fatal);
    const struct {
        const char* text;
        int rows;
    } cases[] = {{"", int(model.rowCount())},
                 {"select 3f00", 1},
                 {" 61 0F", 1},
                 {"from card", 12},
                 {"no such text", 0},
                 {"2F E2", 3}, // the data, its echo and "SELECT 2FE2 -> 61 0F"
                 {"2fe2", 3},
                 {"select 2f  e2", 1},
                 {"4000", 0}}; // bytes match on their bounds: not in "A4 00 00"
    for (const auto& c : cases) {
        filter.SetText(c.text);
        EXPECT_EQ(filter.rowCount(), c.rows) << c.text;
    }
}
