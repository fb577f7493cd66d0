// A recorded card in place of the card: kestrin-run records demo.scr against the
// simulator's card, then checks the same script against the recording replayed.
#include "RunFixture.h"

#include "cardsim/ReplayCard.h"

namespace {

const QStringList Demo{"-p", "P1=01", "--yes", "demo.scr"};

TEST_F(RunTest, ARecordedRunReplaysAndAChangedCommandGetsTheUnknownStatus)
{
    const RunResult recorded = run(Demo + QStringList{"--record", "demo.txt"});
    ASSERT_EQ(recorded.exitCode, 0) << recorded.err.toStdString();
    QStringList reports;
    Recording recording = LoadRecording(path("demo.txt"));
    m_simulator.setAtr(recording.atr);
    m_simulator.setCard(std::make_unique<ReplayCard>(std::move(recording), ReplayCard::Options{},
                                                     [&reports](const QString& line) { reports << line; }));

    const RunResult checked = run(Demo + QStringList{"--check", "demo.txt"});
    EXPECT_EQ(checked.exitCode, 0) << checked.err.toStdString();
    EXPECT_TRUE(reports.isEmpty()) << reports.join('\n').toStdString();

    const RunResult changed = run({"-e", "00 A4 00 00 02", "-e", "3F 01"});
    EXPECT_TRUE(changed.out.contains("3F 01 6D 00")) << changed.out.toStdString();
    EXPECT_EQ(reports, QStringList{"unknown command 00 A4 00 00 02 3F 01 answered 6D 00; the nearest recorded "
                                   "command is 00 A4 00 00 02 3F 00 (command 1 of 16)"});
}

} // namespace
