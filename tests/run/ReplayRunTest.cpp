// A recorded card in place of the card: kestrin-run records demo.scr against the
// simulator's card, then checks the same script against the recording replayed.
#include "RunFixture.h"

#include "cardsim/ReplayCard.h"
#include "trace/TranscriptCheck.h"
#include "virtualreader/VirtualReader.h"

#include <QFileInfo>

namespace {

const QStringList Demo{"-p", "P1=01", "--yes", "demo.scr"};
const QString Scriptor = QStringLiteral("/usr/bin/scriptor");

// The bytes of a transcript's lines of one direction, however they were split.
QString LineBytes(const QString& transcript, QChar mark)
{
    QStringList bytes;
    for (const QString& line : LoadTranscript(transcript))
        if (line.startsWith(mark))
            bytes << line.sliced(1).trimmed();
    return bytes.join(u' ');
}

// What pcsc-tools' scriptor, a PC/SC client of its own, prints for the commands of `script`.
QString ScriptorAnswers(const QString& script)
{
    QProcess scriptor;
    scriptor.start(Scriptor, {"-r", VirtualReader::ReaderName(), script});
    EXPECT_TRUE(scriptor.waitForFinished(60000));
    EXPECT_EQ(scriptor.exitCode(), 0) << scriptor.readAllStandardError().toStdString();
    return QString::fromUtf8(scriptor.readAllStandardOutput());
}

TEST_F(RunTest, ARecordedRunReplaysAndAChangedCommandGetsTheUnknownStatus)
{
    const RunResult recorded = run(Demo + QStringList{"--record", "demo.txt"});
    ASSERT_EQ(recorded.exitCode, 0) << recorded.err.toStdString();
    QStringList reports;
    Recording recording = LoadRecording(path("demo.txt"));
    m_simulator.setAtr(recording.atr);
    m_simulator.setCard(std::make_unique<ReplayCard>(std::move(recording), ReplayCard::Options{},
                                                     [&reports](const QString& line) { reports << line; }));

    // The script's WAITs decide how its pieces and printed answers fall, so on a
    // loaded machine the check may differ there; the bytes on the line may not.
    const RunResult checked = run(Demo + QStringList{"--check", "demo.txt", "--record", "replayed.txt"});
    EXPECT_TRUE(checked.exitCode == 0 || checked.exitCode == 1) << checked.err.toStdString();
    for (const QChar mark : {u'>', u'<'})
        EXPECT_EQ(LineBytes(path("replayed.txt"), mark), LineBytes(path("demo.txt"), mark)) << mark.toLatin1();
    EXPECT_TRUE(reports.isEmpty()) << reports.join('\n').toStdString();

    const RunResult changed = run({"-e", "00 A4 00 00 02", "-e", "3F 01"});
    EXPECT_TRUE(changed.out.contains("3F 01 6D 00")) << changed.out.toStdString();
    EXPECT_EQ(reports, QStringList{"unknown command 00 A4 00 00 02 3F 01 answered 6D 00; the nearest recorded "
                                   "command is 00 A4 00 00 02 3F 00 (command 1 of 16)"});
}

TEST_F(RunTest, APcscClientGetsTheSameAnswersFromTheReplayedCardInTheVirtualReader)
{
    if (!QFileInfo(Scriptor).isExecutable())
        GTEST_SKIP() << "pcsc-tools' scriptor is not installed (scripts/setup.sh installs it)";
    const QStringList commands{"00 A4 00 00 02 2F E2", "00 C0 00 00 0F", "00 B0 00 00 0A", "00 A4 00 00 02 00 02",
                               "00 B2 03 04 10", "00 B0 00 00 01", "00 20 00 01 08 31 32 33 34 35 36 37 38"};
    QStringList lines;
    for (const QString& command : commands)
        lines << "-e" << command;
    const RunResult recorded = run(lines + QStringList{"--record", "serial.txt"});
    ASSERT_EQ(recorded.exitCode, 0) << recorded.err.toStdString();
    writeFile("commands.txt", commands.join('\n').toUtf8() + '\n');

    VirtualReader reader;
    const QString original = ScriptorAnswers(path("commands.txt"));
    Recording recording = LoadRecording(path("serial.txt"));
    reader.Card().setAtr(recording.atr);
    reader.Card().setCard(std::make_unique<ReplayCard>(std::move(recording), ReplayCard::Options{}));
    const QString replayed = ScriptorAnswers(path("commands.txt"));
    EXPECT_TRUE(original.contains("< 63 C2")) << original.toStdString();
    EXPECT_EQ(replayed, original);
}

} // namespace
