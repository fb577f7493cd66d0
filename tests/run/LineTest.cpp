// kestrin-run as a production line: several card interfaces in one run, card
// after card in a PC/SC reader, the summary and the JUnit report.
#include "RunFixture.h"
#include "common/JUnitReader.h"

#include "cardsim/T0Session.h"
#include "virtualreader/VirtualReader.h"

#include <QDir>
#include <QRegularExpression>
#include <QThread>
#include <atomic>
#include <fcntl.h>
#include <set>
#include <unistd.h>

namespace {

const QStringList ReadId{"-e", "00 B0 00 00 0A"};
constexpr int DifferingCard = 3;

// Card k's own answer to reset and the ten bytes it answers ReadId with.
QByteArray Atr(int card) { return Bytes("3F 65 25 00 2C 09 69 90") + char(card); }
QByteArray Id(int card) { return Bytes("89 00 00 00 00 00 00 00 00") + char(card); }

std::unique_ptr<T0Session> CardWithId(int card)
{
    CardProfile profile;
    const QByteArray status = card == DifferingCard ? Bytes("62 82") : Bytes("90 00");
    profile.answers[Bytes("00 B0 00 00 0A")] = Bytes("B0") + Id(card) + status;
    return std::make_unique<T0Session>(profile);
}

// The cards whose answer to reset a text holds.
std::set<int> CardsIn(const QString& text)
{
    std::set<int> cards;
    static const QRegularExpression atr(QStringLiteral("3F 65 25 00 2C 09 69 90 ([0-9A-F]{2})"));
    for (const QRegularExpressionMatch& match : atr.globalMatch(text))
        cards.insert(match.captured(1).toInt(nullptr, 16));
    return cards;
}

QString Hex(const QByteArray& bytes) { return QString::fromLatin1(bytes.toHex(' ').toUpper()); }

// Eight cards on pseudo-terminals and eight in the virtual PC/SC readers, run
// side by side: each transcript holds its own card's bytes alone, the card
// that answers otherwise than the golden transcript fails alone, and the JUnit
// report says so.
TEST_F(RunTest, SixteenCardsRunSideBySideAndTheOneThatDiffersFailsAlone)
{
    QList<QByteArray> readerAtrs;
    for (int card = 8; card < 16; ++card)
        readerAtrs << Atr(card);
    VirtualReader readers(readerAtrs);
    std::vector<std::unique_ptr<CardSimulator>> simulators;
    QStringList arguments;
    for (int card = 0; card < 16; ++card) {
        if (card >= 8) {
            readers.Card(card - 8).setCard(CardWithId(card));
            continue;
        }
        CardSimulator& simulator = card == 0 ? m_simulator : *simulators.emplace_back(std::make_unique<CardSimulator>());
        simulator.setAtr(Atr(card));
        simulator.setCard(CardWithId(card));
        arguments << "-d" << simulator.devicePath();
    }
    writeFile("golden.txt", "# kestrin transcript 1\n< 3F 65 25 00 2C 09 69 90 ??\n> 00 B0 00 00 0A\n"
                            "< 00 B0 00 00 0A B0 89 00 00 00 00 00 00 00 00 ??\n< 90 00\n");
    QDir(path(".")).mkdir("cards");
    const RunResult result = run(arguments + QStringList{"-d", "pcsc:*", "--record", "cards/{device}.txt", "--check",
                                                         "golden.txt", "--junit", "junit.xml"} + ReadId);
    EXPECT_EQ(result.exitCode, 1) << result.err.toStdString();

    std::set<int> seen;
    for (const QString& name : QDir(path("cards")).entryList(QDir::Files)) {
        const QString transcript = QString::fromUtf8(readFile("cards/" + name));
        const std::set<int> cards = CardsIn(transcript);
        ASSERT_EQ(cards.size(), 1u) << name.toStdString() << ":\n" << transcript.toStdString();
        const int card = *cards.begin();
        EXPECT_TRUE(QString(transcript).remove(QStringLiteral("\n< ")).contains(Hex(Id(card)))) << transcript.toStdString();
        seen.insert(card);
    }
    EXPECT_EQ(seen.size(), 16u) << result.err.toStdString();
    EXPECT_TRUE(result.err.contains("16 cards: 15 passed, 1 failed\n")) << result.err.toStdString();

    const auto cases = ReadJUnit(path("junit.xml"));
    if (!cases)
        GTEST_SKIP() << JUnitParserMissing;
    ASSERT_EQ(cases->size(), 32);
    for (const JUnitCase& test : *cases) {
        const bool differs = test.name.contains("check") && CardsIn(test.systemOut) == std::set{DifferingCard};
        EXPECT_EQ(test.outcome, differs ? "failure" : "passed") << test.suite.toStdString() << ": " << test.name.toStdString();
        if (differs) {
            EXPECT_EQ(test.message, "differs");
            EXPECT_TRUE(test.text.contains("+< 62 82")) << test.text.toStdString();
        }
    }
}

// What a line cannot do well is refused before a byte reaches a card: card
// after card without a card-present line, two cards writing one file, an
// interface named twice, a report that cannot be written, packets streamed
// into the lines of every card.
TEST_F(RunTest, ALineRefusesWhatWouldFailOrWriteOverItsFilesBeforeAnyCard)
{
    const QString card = m_simulator.devicePath();
    const std::pair<QStringList, QString> cases[] = {
        {{"--each-card"}, "--each-card takes PC/SC readers only: the serial card interface " + card + " has no line"},
        {{"--cards", "2"}, "--cards counts the cards of --each-card, which is not given"},
        {{"-d", card, "-d", "/dev/null", "--record", "run.txt"}, "--record run.txt would be written by every card alike"},
        {{"-d", card, "-d", card}, "the card interface " + card + " is named twice"},
        {{"-d", card, "--junit", "/nonexistent/junit.xml"}, "/nonexistent/junit.xml"},
        {{"-d", card, "--junit", "junit.xml", "--pcap", "-"}, "--pcap - streams one card's packets"},
    };
    for (const auto& [arguments, said] : cases) {
        const RunResult result = run(arguments + QStringList{"-e", "00"});
        EXPECT_EQ(result.exitCode, 2) << arguments.join(' ').toStdString();
        EXPECT_TRUE(result.err.contains(said)) << result.err.toStdString();
    }
    EXPECT_EQ(m_simulator.received(), QByteArray());
}

// On a terminal, standard error shows a line for each interface as its cards
// go, erased before the table at the end.
TEST_F(RunTest, OnATerminalALineShowsHowEachInterfaceGoes)
{
    const int terminal = posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK);
    ASSERT_GE(terminal, 0);
    ASSERT_EQ(grantpt(terminal) | unlockpt(terminal), 0);
    QProcess process;
    process.setWorkingDirectory(path("."));
    process.setStandardErrorFile(QString::fromLocal8Bit(ptsname(terminal)));
    process.start(RunProgram(), {"-d", m_simulator.devicePath(), "--junit", "junit.xml", "-e", "00 A4 00 00 02 3F 00"});
    EXPECT_EQ(finish(process).exitCode, 0);
    QByteArray shown(65536, '\0');
    shown.truncate(std::max<ssize_t>(read(terminal, shown.data(), shown.size()), 0));
    close(terminal);
    EXPECT_TRUE(shown.contains(m_simulator.devicePath().toUtf8() + ": 0 cards, 0 passed, 0 failed; card 1: starting"))
        << shown.toStdString();
    EXPECT_TRUE(shown.contains("\r\33[Jinterface")) << shown.toStdString();
}

// Card after card: twenty cards come and go in one reader (its driver's second
// reader stays empty), each gets its run and its transcript, and the tally is right.
TEST_F(RunTest, CardAfterCardEveryCardThatComesIsRunAndCounted)
{
    VirtualReader reader;
    QDir(path(".")).mkdir("cards");
    const auto process = startProgram({"-d", "pcsc:*", "--each-card", "--cards", "20", "--idle", "50", "--record",
                                       "cards/{n}.txt", "-e", "00 A4 00 00 02", "-e", "3F 00"});
    for (int card = 1; card <= 20; ++card) {
        ASSERT_TRUE(waitForFile(QStringLiteral("cards/%1.txt").arg(card))) << card;
        if (card == 20)
            break;
        reader.Card().setInserted(false);
        reader.WaitForCard(false);
        reader.Card().setInserted(true);
    }
    const RunResult result = finish(*process);
    EXPECT_EQ(result.exitCode, 0) << result.err.toStdString();
    EXPECT_EQ(QDir(path("cards")).entryList(QDir::Files).size(), 20);
    EXPECT_TRUE(readFile("cards/20.txt").contains("< 3F 00 61 0F\n")) << readFile("cards/20.txt").toStdString();
    EXPECT_TRUE(result.err.endsWith("20 cards: 20 passed, 0 failed\n")) << result.err.toStdString();
    EXPECT_FALSE(result.err.contains("\33[")) << "progress shown on a standard error that is no terminal";
}

// A card pulled out while its script waits fails alone: the next card still
// comes and runs. The JUnit report puts the failure on the item it ended in.
// The next card goes in once the run has let go of the reader (its transcript
// written): pcscd misses a card that leaves again after coming back while a
// client still held the one before.
TEST_F(RunTest, CardAfterCardACardPulledOutMidRunIsThatCardsFailure)
{
    VirtualReader reader;
    std::atomic<int> answered{0};
    reader.Card().setLogger([&answered](const QString& line) { answered += line.contains(" -> ") ? 1 : 0; });
    writeFile("hold.scr", "SEND('00 A4 00 00 02 3F 00')\r\nWAIT(\"999999999\")\r\n");
    const auto process = startProgram({"-d", "pcsc:", "--each-card", "--cards", "2", "--record", "{n}.txt", "--junit",
                                       "junit.xml", "-e", "00 A4 00 00 02 3F 00", "hold.scr"});
    for (int card = 1; card <= 2; ++card) {
        while (answered < 2 * card)
            QThread::msleep(10);
        reader.Card().setInserted(false);
        reader.WaitForCard(false);
        ASSERT_TRUE(waitForFile(QStringLiteral("%1.txt").arg(card)));
        reader.Card().setInserted(true);
    }
    const RunResult result = finish(*process);
    EXPECT_EQ(result.exitCode, 3) << result.err.toStdString();
    EXPECT_TRUE(result.err.endsWith("2 cards: 0 passed, 2 failed\n")) << result.err.toStdString();
    const auto cases = ReadJUnit(path("junit.xml"));
    if (!cases)
        GTEST_SKIP() << JUnitParserMissing;
    ASSERT_EQ(cases->size(), 4);
    EXPECT_EQ((*cases)[0].outcome, "passed");
    EXPECT_EQ((*cases)[1].outcome, "failure");
    EXPECT_TRUE((*cases)[1].message.contains("card")) << (*cases)[1].message.toStdString();
    EXPECT_TRUE((*cases)[1].systemOut.contains("> 00 A4 00 00 02")) << (*cases)[1].systemOut.toStdString();
}

} // namespace
