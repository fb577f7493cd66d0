// kestrin-run end to end: scripts, data files and command lines over the card
// simulator, the transcript and its check, and how a run ends.
#include "RunFixture.h"
#include "common/Tshark.h"

#include <QFile>
#include <QProcess>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <unistd.h>

namespace {

const QString Transcript = QStringLiteral("run.txt");
const QStringList TwoLines{"-e", "00 A4 00 00 02", "-e", "2F E2"};

TEST_F(RunTest, ASampleScriptTakesItsParameterPutsItsBytesOnTheWireAndPrintsTheAnswers)
{
    const RunResult result = run({"-p", "P1=04", "records.scr"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    // The SELECT, its GET RESPONSE from GETRESP.SCR beside the script, then record 4's header in pieces.
    EXPECT_TRUE(m_simulator.received().startsWith(Bytes("00A4000002 0002 00C000000F 00B2 04 0410")));
    EXPECT_TRUE(result.out.contains("Record: 44 41 56 45 FF")) << result.out.toStdString(); // "DAVE"
    EXPECT_TRUE(result.out.startsWith("3F 65 25 00 2C 09 69 90 00 "));
    EXPECT_TRUE(result.out.endsWith('\n'));
    EXPECT_TRUE(result.err.contains("status: Reading the records of EF 0002\n")) << result.err.toStdString();
}

TEST_F(RunTest, ADataFileSendsItsBlocks)
{
    writeFile("select.dat", "; the ICCID file\n00 A4 00 00 02\nR\n2F E2 ; its id\nR\n");
    const RunResult result = run({"--command-delay", "20000", "--log", "run.log", "select.dat"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(m_simulator.received(), Bytes("00A4000002 2FE2"));
    EXPECT_TRUE(result.out.contains("61 0F")) << result.out.toStdString();
    const QString log = QString::fromUtf8(readFile("run.log"));
    EXPECT_EQ(log.endsWith('\n') ? log : log + u'\n', result.out); // standard output ends the last line
}

TEST_F(RunTest, CommandLinesAndTheirAnswersMakeTheTranscript)
{
    const RunResult result = run(TwoLines + QStringList{"--record", Transcript});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(readFile(Transcript), "# kestrin transcript 1\n"
                                    "< 3F 65 25 00 2C 09 69 90 00\n"
                                    "> 00 A4 00 00 02\n"
                                    "< 00 A4 00 00 02 A4\n"
                                    "> 2F E2\n"
                                    "< 2F E2 61 0F\n");
}

// The run ends during the line's first byte delay: only that byte went out.
TEST_F(RunTest, TheTranscriptHoldsOnlyTheBytesTheLinkWrote)
{
    const RunResult result =
        run({"--byte-delay", "100000000", "--timeout", "0.5", "--record", Transcript, "-e", "00 A4 00 00 02"});
    EXPECT_EQ(result.exitCode, 124) << result.err.toStdString();
    EXPECT_TRUE(readFile(Transcript).contains("\n> 00\n")) << readFile(Transcript).toStdString();
}

TEST_F(RunTest, ACheckPassesOnTheSameCardAndNamesTheByteOfOneThatAnswersDifferently)
{
    ASSERT_EQ(run(TwoLines + QStringList{"--record", Transcript}).exitCode, 0);
    EXPECT_EQ(run(TwoLines + QStringList{"--check", Transcript}).exitCode, 0);

    m_simulator.setAtr(Bytes("3F 65 25 00 2C 09 69 90 01"));
    const RunResult differs = run(TwoLines + QStringList{"-q", "--check", Transcript});
    EXPECT_EQ(differs.exitCode, 1);
    EXPECT_TRUE(differs.out.isEmpty());
    EXPECT_TRUE(differs.err.contains("-< 3F 65 25 00 2C 09 69 90 00\n+< 3F 65 25 00 2C 09 69 90 01\n"))
        << differs.err.toStdString();

    writeFile("any.txt", readFile(Transcript).replace("69 90 00\n", "69 90 ??\n"));
    EXPECT_EQ(run(TwoLines + QStringList{"--check", "any.txt"}).exitCode, 0);
}

TEST_F(RunTest, TheTraceAndThePcapFileShowTheAtrAndTheExchange)
{
    const RunResult result = run({"-e", "A0 A4 00 00 02", "-e", "3F 00", "--trace", "run.trace", "--pcap", "run.pcap"});
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    const QString trace = QString::fromUtf8(readFile("run.trace"));
    for (const char* row : {"\tfrom card\t3F 65 25 00 2C 09 69 90 00\tATR: inverse convention", "\techo\t3F 00\t",
                            "\tfrom card\t9F 0F\tSELECT 3F00 -> 9F 0F"})
        EXPECT_TRUE(trace.contains(QString::fromUtf8(row))) << row << " is not in:\n" << trace.toStdString();
    const auto shows = TsharkShows(path("run.pcap"), {"ISO 7816 ATR", "Initial character: Inverse convention",
                                                      "Historical bytes: 2c09699000", "File ID: MF (0x3f00)",
                                                      "Status Word: 9f0f"});
    if (!shows)
        GTEST_SKIP() << TsharkMissing;
    EXPECT_TRUE(*shows);
}

TEST_F(RunTest, EachWayARunEndsHasItsStatusAndSaysWhy)
{
    writeFile("prompt.scr", "PROMPT('Go on?',NONE)\r\n");
    writeFile("integer.scr", "WAIT(\"x\")\r\n");
    writeFile("long.scr", "REPEAT(100000)\r\nSEND('00 C0 00 00 00')\r\nWAIT(\"2000\")\r\nENDREPEAT\r\n");
    const struct {
        QStringList arguments;
        int exitCode;
        QString said;
    } cases[] = {
        {{"-d", "/nonexistent/kestrin-card", "-e", "00"}, 3,
         "kestrin-run: the card interface /nonexistent/kestrin-card could not be opened (no such file or directory)\n"},
        {{"records.scr"}, 5, "GET(P1) needs a value: 'First record to read (01 to 05)'"},
        {{"prompt.scr"}, 5, "'Go on?'"},
        {{"integer.scr"}, 4, "'x' is not a valid integer value."},
        {{"missing.scr"}, 2, "missing.scr"},
        {{"--idle", "soon", "-e", "00"}, 2, "--idle takes a whole number"},
        {{"--timeout", "0.5", "long.scr"}, 124, "--timeout"},
    };
    for (const auto& [arguments, exitCode, said] : cases) {
        const RunResult result = run(arguments);
        EXPECT_EQ(result.exitCode, exitCode) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(said)) << result.err.toStdString();
    }
}

// A card that takes the command and never answers: the answer timeout ends
// the run, and so does --timeout; either way the owed answer is named.
TEST_F(RunTest, ARunEndsOnAnOwedAnswerOnlyByATimeoutThatSaysWhatWasOwed)
{
    m_simulator.setCardSilent(true);
    for (const auto& [limit, exitCode] : {std::pair{QStringList{"--answer-timeout", "300"}, 7},
                                          std::pair{QStringList{"--timeout", "0.5"}, 124}}) {
        const RunResult result = run(limit + QStringList{"-e", "00 B0 00 00 02"});
        EXPECT_EQ(result.exitCode, exitCode);
        EXPECT_TRUE(result.err.contains("owed the answer to 00 B0 00 00 02 (READ BINARY)")) << result.err.toStdString();
    }
}

// Refused before any byte of it reaches the card: a line with a token that is no
// hexadecimal number (its byte would be unsettled), and a run whose output files
// cannot be made (they would fail only after the card had been changed).
TEST_F(RunTest, WhatCannotGoWellIsRefusedBeforeItsBytesReachTheCard)
{
    writeFile("bad.scr", "SEND('2F ZZ')\r\n");
    writeFile("bad.dat", "; a block\r\n00 A4 00 00 02\r\n\r\n2F select\r\nR\r\n");
    const struct {
        QStringList arguments;
        int exitCode;
        QString said;
        QByteArray received;
    } cases[] = {
        {{"-e", "00 A4 00 00 02", "-e", "ZZ 11"}, 4, "'ZZ' is not a hexadecimal number", Bytes("00A4000002")},
        {{"bad.scr"}, 4, "'ZZ' is not a hexadecimal number", {}},
        {{"bad.dat"}, 4, "bad.dat line 4: 'select' is not a hexadecimal number", {}},
        {{"--record", "kept.txt", "--trace", "/nonexistent/run.trace", "-e", "00"}, 2, "/nonexistent/run.trace", {}},
        {{"--pcap", "kept.pcap", "--log", path("no-folder/run.log"), "-e", "00"}, 2, "no-folder/run.log", {}},
        {{"--record", path("."), "-e", "00"}, 2, path("."), {}},
    };
    for (const auto& [arguments, exitCode, said, received] : cases) {
        m_simulator.clearReceived();
        const RunResult result = run(arguments);
        EXPECT_EQ(result.exitCode, exitCode) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(said)) << result.err.toStdString();
        EXPECT_EQ(m_simulator.received(), received) << arguments.join(' ').toStdString();
    }
    EXPECT_FALSE(QFile::exists(path("kept.txt")) || QFile::exists(path("kept.pcap"))) << "an empty file was left";
}

TEST_F(RunTest, OnATerminalGetAndPromptAskTheOperator)
{
    writeFile("ask.scr", "GET(P1,'Record?')\r\nPROMPT('Go on?',CANCEL)\r\nSENDVAL(P1)\r\n");
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(grantpt(terminal) | unlockpt(terminal), 0);
    const auto process = start({"ask.scr"}, QString::fromLocal8Bit(ptsname(terminal)));
    const QByteArray typed = "A0 B2\nperhaps\ncancel\n";
    ASSERT_EQ(write(terminal, typed.constData(), typed.size()), typed.size());
    const RunResult result = finish(*process);
    close(terminal);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(m_simulator.received(), Bytes("A0B2"));
    EXPECT_EQ(result.err, "P1 - Record?: prompt: Go on?\nOK or Cancel? OK or Cancel? message: CANCEL\n");
}

TEST_F(RunTest, InterruptedDuringALongRepeatItClosesThePortAndWritesTheTranscript)
{
    writeFile("long.scr", "REPEAT(100000)\r\nSEND('00 C0 00 00 00')\r\nWAIT(\"2000\")\r\nENDREPEAT\r\n");
    const auto process = start({"--record", Transcript, "long.scr"});
    ASSERT_TRUE(m_simulator.waitForReceived(50, std::chrono::seconds(30)));
    ::kill(pid_t(process->processId()), SIGINT);
    const RunResult result = finish(*process);
    EXPECT_EQ(result.exitCode, 130) << result.err.toStdString();
    EXPECT_TRUE(m_simulator.waitForCloses(1, std::chrono::seconds(30)));
    EXPECT_TRUE(readFile(Transcript).startsWith("# kestrin transcript 1\n< 3F 65 25 00 2C 09 69 90 00\n> 00 C0 00 00 00\n"));
}

TEST(RunProgram, LinksNeitherQtGuiNorQtWidgets)
{
    QProcess ldd;
    ldd.start(QStringLiteral("ldd"), {RunProgram()});
    ASSERT_TRUE(ldd.waitForFinished());
    const QString libraries = QString::fromUtf8(ldd.readAllStandardOutput());
    EXPECT_TRUE(libraries.contains("libQt6Core")) << libraries.toStdString();
    EXPECT_FALSE(libraries.contains("libQt6Gui"));
    EXPECT_FALSE(libraries.contains("libQt6Widgets"));
}

} // namespace
