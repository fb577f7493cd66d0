// The transcript: recording, reading a file back, matching and the diff of a mismatch.
#include "base/KestrinError.h"
#include "trace/TranscriptCheck.h"
#include "trace/TranscriptRecorder.h"

#include <gtest/gtest.h>

namespace {

QStringList Lines(std::initializer_list<const char*> lines)
{
    QStringList list{QStringLiteral("# kestrin transcript 1")};
    for (const char* line : lines)
        list << QString::fromUtf8(line);
    return list;
}

TEST(TranscriptRecorder, JoinsBytesOfOneDirectionHoweverTheyWereSplitAndWrapsThemAt16)
{
    const QByteArray answer = QByteArray::fromHex("00 C0 00 00 0F C0 00 00 00 50 00 02 04 00 0F 00 00 01 02 01 10 90 00");
    for (const qsizetype chunk : {1, 2, 7, 16, 23}) {
        TranscriptRecorder recorder;
        recorder.Sent(QByteArray::fromHex("00 C0"));
        recorder.Sent(QByteArray::fromHex("00 00 0F"));
        for (qsizetype start = 0; start < answer.size(); start += chunk)
            recorder.Received(QByteArrayView(answer).sliced(start, std::min(chunk, answer.size() - start)));
        EXPECT_EQ(recorder.Lines(), Lines({"> 00 C0 00 00 0F", "< 00 C0 00 00 0F C0 00 00 00 50 00 02 04 00 0F 00",
                                           "< 00 01 02 01 10 90 00"}))
            << chunk;
    }
}

TEST(TranscriptRecorder, TextBecomesALineAtItsLineEndAndBoxesALineEach)
{
    TranscriptRecorder recorder;
    recorder.Text("Record: ");
    recorder.Received(QByteArray::fromHex("90 00"));
    recorder.Text("41 42 \r\n");
    recorder.Box("Script Not Found!\r\n/scripts/X.SCR");
    recorder.Text("\r\nDone.");
    EXPECT_EQ(recorder.Lines(), Lines({"< 90 00", "| Record: 41 42 ", "! Script Not Found!", "! /scripts/X.SCR", "| ",
                                       "| Done."}));
    EXPECT_EQ(recorder.FileText(), recorder.Lines().join('\n').toUtf8() + '\n');
}

// The echo of 2F came before E2 was written; the card's 6A (no echo) ends the
// wait for the echo of 00, which the interface did not give.
TEST(TranscriptRecorder, AnEchoStandsAfterTheBytesSentUpToTheCardsNextByte)
{
    TranscriptRecorder recorder;
    for (const char* step : {">2F", "<2F", ">E2", "<E2 61 0F", ">00", "<6A 82", ">C0", "<C0", "<"})
        (recorder.*(step[0] == '>' ? &TranscriptRecorder::Sent : &TranscriptRecorder::Received))(
            QByteArray::fromHex(step + 1));
    EXPECT_EQ(recorder.Lines(), Lines({"> 2F E2", "< 2F E2 61 0F", "> 00", "< 6A 82", "> C0", "< C0"}));
}

TEST(TranscriptRecorder, ACrAndItsLfInTwoPiecesEndOneLine)
{
    TranscriptRecorder recorder;
    recorder.Text("a\r");
    recorder.Text("\nb\r");
    EXPECT_EQ(recorder.Lines(), Lines({"| a", "| b"}));
    recorder.Text("\rc");
    EXPECT_EQ(recorder.Lines(), Lines({"| a", "| b", "| ", "| c"}));
}

TEST(TranscriptReader, GivesTheRecordersLinesWithoutCommentsAndWrappedAgain)
{
    const QByteArray file = "# kestrin transcript 1\r\n"
                            "# the ATR, split as a person might\n"
                            "< 3f 65\n\n<25 00 2C 09 69 90 ??\n"
                            "> 00 A4 00 00 02\n"
                            "# a comment and a line of no bytes between two lines of one event\n"
                            "<\n"
                            "> 3F 00\n"
                            "< 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F 10\n"
                            "|  indented\n"
                            "|\n"
                            "! OK?\n";
    EXPECT_EQ(ReadTranscript(file, "golden.txt"),
              Lines({"< 3F 65 25 00 2C 09 69 90 ??", "> 00 A4 00 00 02 3F 00",
                     "< 00 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F", "< 10", "|  indented", "| ", "! OK?"}));
}

TEST(TranscriptReader, NamesTheFileAndLineOfWhatIsNoTranscript)
{
    const struct {
        QByteArray file;
        const char* problem;
    } cases[] = {
        {"> 00\n", "golden.txt, line 1: a transcript begins with \"# kestrin transcript 1\""},
        {"# kestrin transcript 2\n", "golden.txt, line 1: a transcript begins"},
        {"# kestrin transcript 1\n< 3F 6\n", "golden.txt, line 2: '6' is no byte"},
        {"# kestrin transcript 1\n\n< 3F ?0\n", "golden.txt, line 3: '?0' is no byte"},
        {"# kestrin transcript 1\n3F 65\n", "golden.txt, line 2: a line begins with >, <, |, ! or #"},
    };
    for (const auto& [file, problem] : cases) {
        try {
            ReadTranscript(file, "golden.txt");
            ADD_FAILURE() << "no error for " << file.toStdString();
        } catch (const KestrinError& error) {
            EXPECT_TRUE(error.message().startsWith(QString::fromUtf8(problem))) << error.message().toStdString();
        }
    }
}

TEST(TranscriptCheck, WildcardsMatchAnyByteAndTextIgnoresBlanksAtTheEnds)
{
    const struct {
        const char* expected;
        const char* seen;
        bool matches;
    } cases[] = {
        {"< 9F 0F", "< 9F 0F", true},       {"< 9F ??", "< 9F 17", true},  {"< ?? ??", "< 9F 17", true},
        {"< 9F ??", "< 9E 17", false},      {"< 9F ??", "< 9F 17 00", false}, {"> 9F ??", "< 9F 17", false},
        {"| status 90 00", "| status 90 00 ", true}, {"| status 90 ??", "| status 90 00", false},
        {"! OK?", "| OK?", false},
    };
    for (const auto& [expected, seen, matches] : cases)
        EXPECT_EQ(TranscriptLineMatches(QString::fromUtf8(expected), QString::fromUtf8(seen)), matches)
            << expected << " / " << seen;
}

TEST(TranscriptCheck, AMismatchIsAUnifiedDiffOfExpectedAgainstSeen)
{
    const QStringList expected = Lines({"< 3F 65", "> 00 A4 00 00 02", "< 00 A4 00 00 02 A4", "> 3F 00", "< 3F 00 61 ??",
                                        "| a", "| b", "| c", "| d", "| e", "| f", "| g", "| h", "| end"});
    QStringList seen = expected;
    seen[2] = "> 00 A4 00 00 03";
    seen[5] = "< 3F 00 6A 82";
    seen[14] = "| the end";
    seen.append("! done");
    EXPECT_TRUE(TranscriptDifference(expected, expected, "golden.txt", "run").isEmpty());
    EXPECT_EQ(TranscriptDifference(expected, seen, "golden.txt", "run").toStdString(),
              "--- golden.txt\n"
              "+++ run\n"
              "@@ -1,9 +1,9 @@\n"
              " # kestrin transcript 1\n"
              " < 3F 65\n"
              "-> 00 A4 00 00 02\n"
              "+> 00 A4 00 00 03\n"
              " < 00 A4 00 00 02 A4\n"
              " > 3F 00\n"
              "-< 3F 00 61 ??\n"
              "+< 3F 00 6A 82\n"
              " | a\n"
              " | b\n"
              " | c\n"
              "@@ -12,4 +12,5 @@\n"
              " | f\n"
              " | g\n"
              " | h\n"
              "-| end\n"
              "+| the end\n"
              "+! done\n");
}

// Bytes that came a few milliseconds later than in the golden run, or sooner,
// and text printed before or after them, match; bytes received before the
// answer to reset was whole do not, and a real difference shows alone.
TEST(TranscriptCheck, ComparesWhatWasSentReceivedAndShownEachInOrder)
{
    const auto differs = [](std::initializer_list<const char*> expected, std::initializer_list<const char*> seen) {
        return TranscriptDifference(Lines(expected), Lines(seen), "golden.txt", "run").toStdString();
    };
    const auto demo = {"< 3F 65", "> 00 B2", "< 00 B2", "> 04", "< 04 90 00", "| Record: 90 00"};
    EXPECT_EQ(differs(demo, {"< 3F 65", "> 00 B2", "< 00", "> 04", "< B2 04", "| Record: 90 00", "< 90 00"}), "");
    EXPECT_EQ(differs({"< 3F 65", "> 00 B2", "< 00", "> 04", "< B2 04 ?? 00", "| Record: 90 00"}, demo), "");
    EXPECT_NE(differs({"< 3F 65", "> 00"}, {"< 3F", "> 00", "< 65"}), "");
    EXPECT_EQ(differs(demo, {"< 3F 65", "> 00 B2", "< 00", "> 04", "< B2 04 6A 82", "| Record: 6A 82"}),
              "--- golden.txt\n"
              "+++ run\n"
              "@@ -3,5 +3,5 @@\n"
              " > 00 B2\n"
              " < 00 B2\n"
              " > 04\n"
              "-< 04 90 00\n"
              "-| Record: 90 00\n"
              "+< 04 6A 82\n"
              "+| Record: 6A 82\n");
}

} // namespace
