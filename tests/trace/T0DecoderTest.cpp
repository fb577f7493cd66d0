#include "TimelineSteps.h"

#include "cardsim/SimulatedRun.h"
#include "common/PcapPayloads.h"
#include "trace/PcapExport.h"
#include "trace/T0Decoder.h"
#include "trace/TraceText.h"

#include <QRandomGenerator>
#include <functional>
#include <gtest/gtest.h>

namespace {

// Each row as "direction|bytes|meaning"; an open's row leaves out its clock time.
QStringList Rows(const Trace& trace)
{
    QStringList rows;
    for (const TraceRow& row : trace.rows) {
        const QString meaning = row.kind == TraceKind::PortOpened ? QStringLiteral("port opened") : RowMeaning(trace, row);
        rows.append(DirectionText(row.direction) + u'|' + QString::fromLatin1(trace.Bytes(row).toByteArray().toHex(' ').toUpper()) + u'|'
                    + meaning);
    }
    return rows;
}

LinkTimeline Simulated(const std::function<void(SimulatedRun&)>& commands)
{
    SimulatedRun run;
    run.Open();
    commands(run);
    return run.Timeline();
}

struct Scenario {
    const char* name;
    std::function<LinkTimeline()> timeline;
    QStringList rows;
};

const QString SimAtrRow =
    "from card|3F 65 25 00 2C 09 69 90 00|ATR: inverse convention, T=0, Fi 372 Di 1 (372 clocks per bit), 5 historical bytes";

const Scenario Scenarios[] = {
    {"GSM SELECT with GET RESPONSE through an echoing interface",
     [] {
         return Simulated([](SimulatedRun& run) {
             run.Send(QByteArray::fromHex("A0 A4 00 00 02 3F 00"));
             run.Send(QByteArray::fromHex("A0 C0 00 00 0F"));
         });
     },
     {"||port opened", SimAtrRow, "to card|A0 A4 00 00 02|SELECT, 2 bytes to the card (case 3)",
      "echo|A0 A4 00 00 02|echo of 5 bytes sent", "from card|A4|ACK: the rest of the data may follow",
      "to card|3F 00|2 data bytes to the card", "echo|3F 00|echo of 2 bytes sent",
      "from card|9F 0F|SELECT 3F00 -> 9F 0F: 15 bytes of response ready",
      "to card|A0 C0 00 00 0F|GET RESPONSE, 15 bytes from the card (case 2)",
      "echo|A0 C0 00 00 0F|echo of 5 bytes sent", "from card|C0|ACK: the rest of the data may follow",
      "from card|00 00 00 00 3F 00 01 00 0F 00 00 01 02 00 00|15 data bytes from the card",
      "from card|90 00|GET RESPONSE 15 bytes -> 90 00: normal ending"}},
    {"ISO case 3 and case 2, 61xx and 6Cxx",
     [] {
         return Simulated([](SimulatedRun& run) {
             run.SetEcho(false);
             run.Send(QByteArray::fromHex("00 A4 00 00 02 00 01"));
             run.Send(QByteArray::fromHex("00 20 00 01 08 31 32 33 34 FF FF FF FF"));
             run.Send(QByteArray::fromHex("00 B0 00 00 04"));
             run.Send(QByteArray::fromHex("00 A4 00 00 02 00 02 00 B2 01 04 05"));
         });
     },
     {"||port opened", SimAtrRow, "to card|00 A4 00 00 02|SELECT, 2 bytes to the card (case 3)",
      "from card|A4|ACK: the rest of the data may follow", "to card|00 01|2 data bytes to the card",
      "from card|61 0F|SELECT 0001 -> 61 0F: 15 bytes of response ready",
      "to card|00 20 00 01 08|VERIFY, 8 bytes to the card (case 3)", "from card|20|ACK: the rest of the data may follow",
      "to card|31 32 33 34 FF FF FF FF|8 data bytes to the card", "from card|90 00|VERIFY 8 bytes -> 90 00: normal ending",
      "to card|00 B0 00 00 04|READ BINARY, 4 bytes from the card (case 2)",
      "from card|B0|ACK: the rest of the data may follow", "from card|48 45 4C 4C|4 data bytes from the card",
      "from card|90 00|READ BINARY 4 bytes -> 90 00: normal ending",
      "to card|00 A4 00 00 02|SELECT, 2 bytes to the card (case 3)", "from card|A4|ACK: the rest of the data may follow",
      "to card|00 02|2 data bytes to the card", "from card|61 0F|SELECT 0002 -> 61 0F: 15 bytes of response ready",
      "to card|00 B2 01 04 05|READ RECORD, 5 bytes from the card (case 2)",
      "from card|6C 10|READ RECORD -> 6C 10: wrong Le: 16 bytes available"}},
    {"one-byte procedure bytes",
     [] { return Steps("> 00 D6 00 00 02; < 00 D6 00 00 02; < 29; > AA; < AA; < 29; > BB; < BB; < 90 00"); },
     {"to card|00 D6 00 00 02|UPDATE BINARY, 2 bytes to the card (case 3)", "echo|00 D6 00 00 02|echo of 5 bytes sent",
      "from card|29|INS xor FF: one data byte may follow", "to card|AA|1 data byte to the card",
      "echo|AA|echo of the byte sent", "from card|29|INS xor FF: one data byte may follow",
      "to card|BB|1 data byte to the card", "echo|BB|echo of the byte sent",
      "from card|90 00|UPDATE BINARY 2 bytes -> 90 00: normal ending"}},
    {"data sent without waiting for the procedure byte, echoed after it",
     [] { return Steps("> A0 A4 00 00 02 3F 00; < A0 A4 00 00 02 A4 3F 00 9F 0F"); },
     {"to card|A0 A4 00 00 02|SELECT, 2 bytes to the card (case 3)", "to card|3F 00|2 data bytes to the card",
      "echo|A0 A4 00 00 02|echo of 5 bytes sent", "from card|A4|ACK: the rest of the data may follow",
      "echo|3F 00|echo of 2 bytes sent", "from card|9F 0F|SELECT 3F00 -> 9F 0F: 15 bytes of response ready"}},
    {"NULL bytes before the procedure byte and the status word",
     [] { return Steps("> A0 B0 00 00 02; < 60 60; < B0 12 34; < 60; < 90 00"); },
     {"to card|A0 B0 00 00 02|READ BINARY, 2 bytes from the card (case 2)",
      "from card|60 60|2 NULL bytes: the card asks for more time", "from card|B0|ACK: the rest of the data may follow",
      "from card|12 34|2 data bytes from the card", "from card|60|NULL: the card asks for more time",
      "from card|90 00|READ BINARY 2 bytes -> 90 00: normal ending"}},
    {"an unknown instruction's data goes the way it flows",
     [] { return Steps("> 80 54 00 00 03; < 54; > 11 22 33; < 61 1C; > 80 52 00 00 02; < 52 01 02; < 90 00"); },
     {"to card|80 54 00 00 03|instruction 54, P3 03", "from card|54|ACK: the rest of the data may follow",
      "to card|11 22 33|3 data bytes to the card",
      "from card|61 1C|instruction 54 3 bytes -> 61 1C: 28 bytes of response ready",
      "to card|80 52 00 00 02|instruction 52, P3 02", "from card|52|ACK: the rest of the data may follow",
      "from card|01 02|2 data bytes from the card", "from card|90 00|instruction 52 2 bytes -> 90 00: normal ending"}},
    {"bytes no card takes as a header, and a PC/SC reader's note that it did not pass them on",
     [] { return Steps("> FF FF A0 6C A0 A4 00 00 02; note 2 FF FF A0 6C; < A4"); },
     {"to card|FF|sent outside a command: no card takes CLA FF, INS 6x or INS 9x",
      "to card|FF|sent outside a command: no card takes CLA FF, INS 6x or INS 9x",
      "to card|A0 6C|sent outside a command: no card takes CLA FF, INS 6x or INS 9x",
      "to card|A0 A4 00 00 02|SELECT, 2 bytes to the card (case 3): no status word, the trace ends",
      "||PC/SC reader: FF FF A0 6C sent outside a command (no card takes CLA FF, INS 6x or INS 9x): not passed to "
      "the card",
      "from card|A4|ACK: the rest of the data may follow"}},
    {"stray bytes, a silent card and a command cut short by the trace's end",
     [] { return Steps("open 0; < 3F 65 25 00 2C 09 69 90 00 AA; > A0 F2 00 00 16; < 77; wait 3000; > A0 A4 00 00 02"); },
     {"||port opened", SimAtrRow, "from card|AA|unrecognised bytes: nothing for the card to answer",
      "to card|A0 F2 00 00 16|STATUS, 22 bytes from the card (case 2): no status word, the next command began",
      "from card|77|unrecognised bytes: neither a procedure byte nor a status word",
      "to card|A0 A4 00 00 02|SELECT, 2 bytes to the card (case 3): no status word, the trace ends"}},
    {"resets through the lines, an ATR cut short, a direct-convention card",
     [] { return Steps("open 0; < 23; line 6; line 5; < 3F 65 25; > A0; baud 19200; close; < 3F"); },
     {"||port opened",
      "from card|23|unrecognised bytes: 23 is how a direct-convention card's TS 3B reads through the inverse-convention "
      "conversion",
      "||line control: CLR DTR", "||line control: SET DTR", "from card|3F 65 25|ATR cut short: 3 of at least 9 bytes",
      "to card|A0|command header cut short: 1 of 5 bytes", "||baud rate 19200", "||port closed",
      "from card|3F|unrecognised bytes: nothing for the card to answer"}},
    {"an unknown instruction's data sent right after its header",
     [] { return Steps("> 80 5A 00 00 03 FF FF FF; < 5A 90 00; > 00 A4 00 00 02 3F 00; < A4 90 00"); },
     {"to card|80 5A 00 00 03|instruction 5A, P3 03", "to card|FF FF FF|3 data bytes to the card",
      "from card|5A|ACK: the rest of the data may follow",
      "from card|90 00|instruction 5A 3 bytes -> 90 00: normal ending",
      "to card|00 A4 00 00 02|SELECT, 2 bytes to the card (case 3)", "to card|3F 00|2 data bytes to the card",
      "from card|A4|ACK: the rest of the data may follow", "from card|90 00|SELECT 3F00 -> 90 00: normal ending"}},
    {"a card without echo answering with the bytes sent, header and data sent apart",
     [] {
         return Simulated([](SimulatedRun& run) {
             run.SetEcho(false);
             run.Send(QByteArray::fromHex("A0 A4 00 00 02"));
             run.Send(QByteArray::fromHex("94 04"));
             run.Send(QByteArray::fromHex("00 A4 00 00 02"));
             run.Send(QByteArray::fromHex("6A 82"));
         });
     },
     {"||port opened", SimAtrRow, "to card|A0 A4 00 00 02|SELECT, 2 bytes to the card (case 3)",
      "from card|A4|ACK: the rest of the data may follow", "to card|94 04|2 data bytes to the card",
      "from card|94 04|SELECT 9404 -> 94 04: file ID or pattern not found",
      "to card|00 A4 00 00 02|SELECT, 2 bytes to the card (case 3)",
      "from card|A4|ACK: the rest of the data may follow", "to card|6A 82|2 data bytes to the card",
      "from card|6A 82|SELECT 6A82 -> 6A 82: file or application not found"}},
    {"a card without echo whose first answer is a NULL or one-byte procedure byte equal to the class",
     [] { return Steps("open 0; > 60 B0 00 00 02; < 60 B0 12 34 90 00; close; open 0; > 4F B0 00 00 02; < 4F 12 4F 34 90 00"); },
     {"||port opened", "to card|60 B0 00 00 02|READ BINARY, 2 bytes from the card (case 2)",
      "from card|60|NULL: the card asks for more time", "from card|B0|ACK: the rest of the data may follow",
      "from card|12 34|2 data bytes from the card", "from card|90 00|READ BINARY 2 bytes -> 90 00: normal ending",
      "||port closed", "||port opened", "to card|4F B0 00 00 02|READ BINARY, 2 bytes from the card (case 2)",
      "from card|4F|INS xor FF: one data byte may follow", "from card|12|1 data byte from the card",
      "from card|4F|INS xor FF: one data byte may follow", "from card|34|1 data byte from the card",
      "from card|90 00|READ BINARY 2 bytes -> 90 00: normal ending"}},
    {"a case 1 command acknowledged before its status word",
     [] { return Steps("> A0 04 00 00 00; < 04; < 90 00"); },
     {"to card|A0 04 00 00 00|INVALIDATE, no data (case 1)", "from card|04|ACK: the rest of the data may follow",
      "from card|90 00|INVALIDATE -> 90 00: normal ending"}},
    {"commands sent before the card answered the one before",
     [] {
         return Steps("> A0 B0 00 00 02; > A0 F2 00 00 03; < B0 12 34 90 00; < F2 01 02 03 90 00;"
                      "> A0 D6 00 00 01 55 A0 B0 00 00 01; < D6 90 00 B0 55 90 00");
     },
     {"to card|A0 B0 00 00 02|READ BINARY, 2 bytes from the card (case 2)",
      "to card|A0 F2 00 00 03|STATUS, 3 bytes from the card (case 2)",
      "from card|B0|ACK: the rest of the data may follow", "from card|12 34|2 data bytes from the card",
      "from card|90 00|READ BINARY 2 bytes -> 90 00: normal ending",
      "from card|F2|ACK: the rest of the data may follow", "from card|01 02 03|3 data bytes from the card",
      "from card|90 00|STATUS 3 bytes -> 90 00: normal ending",
      "to card|A0 D6 00 00 01|UPDATE BINARY, 1 byte to the card (case 3)", "to card|55|1 data byte to the card",
      "to card|A0 B0 00 00 01|READ BINARY, 1 byte from the card (case 2)",
      "from card|D6|ACK: the rest of the data may follow", "from card|90 00|UPDATE BINARY 1 byte -> 90 00: normal ending",
      "from card|B0|ACK: the rest of the data may follow", "from card|55|1 data byte from the card",
      "from card|90 00|READ BINARY 1 byte -> 90 00: normal ending"}},
    {"PPS after the ATR: granted without echo; refused, and a wrong check byte, with echo",
     [] {
         return Steps("open 0; < 3F 65 25 00 2C 09 69 90 00; > FF 10 94 7B; < FF 10 94 7B; > A0 F2 00 00 02; < F2 01 02 90 00;"
                      "close; open 0; < 3F 65 25 00 2C 09 69 90 00; > FF 10 94 7B; < FF 10 94 7B FF 00 FF; line 6; line 5;"
                      "< 3F 65 25 00 2C 09 69 90 00; > FF 10 13 ED; < FF 10 13 ED FF 10 13 ED");
     },
     {"||port opened", SimAtrRow, "to card|FF 10 94 7B|PPS request: T=0, Fi 512 Di 8 (64 clocks per bit)",
      "from card|FF 10 94 7B|PPS response: T=0, Fi 512 Di 8 (64 clocks per bit): granted",
      "to card|A0 F2 00 00 02|STATUS, 2 bytes from the card (case 2)", "from card|F2|ACK: the rest of the data may follow",
      "from card|01 02|2 data bytes from the card", "from card|90 00|STATUS 2 bytes -> 90 00: normal ending",
      "||port closed", "||port opened", SimAtrRow,
      "to card|FF 10 94 7B|PPS request: T=0, Fi 512 Di 8 (64 clocks per bit)", "echo|FF 10 94 7B|echo of 4 bytes sent",
      "from card|FF 00 FF|PPS response: T=0, Fi 372 Di 1 (372 clocks per bit): Fi and Di refused",
      "||line control: CLR DTR", "||line control: SET DTR", SimAtrRow,
      "to card|FF 10 13 ED|PPS request: T=0, Fi 372 Di 4 (93 clocks per bit), check byte wrong",
      "echo|FF 10 13 ED|echo of 4 bytes sent",
      "from card|FF 10 13 ED|PPS response: T=0, Fi 372 Di 4 (93 clocks per bit): check byte wrong"}},
};

} // namespace

TEST(T0Decoder, DecodesEachPartOfTheTraffic)
{
    for (const Scenario& scenario : Scenarios) {
        SCOPED_TRACE(scenario.name);
        EXPECT_EQ(Rows(DecodeT0(scenario.timeline())).join(u'\n').toStdString(), scenario.rows.join(u'\n').toStdString());
    }
}

TEST(T0Decoder, KeepsTheExchangeAndAtrForTheDetailPane)
{
    const Trace trace = DecodeT0(Scenarios[0].timeline());
    ASSERT_EQ(trace.exchanges.size(), 2);
    const QList<TraceField> select = RowFields(trace, trace.rows[7]);
    const QList<TraceField> expected{
        {"Class", "A0 (GSM 11.11)"},
        {"Instruction", "A4 SELECT"},
        {"P1 P2", "00 00"},
        {"P3", "02: 2 bytes to the card (case 3)"},
        {"Procedure bytes", "A4 ACK"},
        {"Data", "2 bytes to the card: 3F 00"},
        {"Status word", "9F 0F: 15 bytes of response ready"},
        {"Card answered after", "2.500 ms"},
    };
    EXPECT_EQ(select, expected);
    EXPECT_EQ(RowFields(trace, trace.rows[1]).value(0), (TraceField{"TS", "3F: inverse convention"}));
    EXPECT_TRUE(RowFields(trace, trace.rows[0]).isEmpty());

    const Trace pps = DecodeT0(Steps("open 0; < 3F 65 25 00 2C 09 69 90 00; > FF 10 94 7B; < FF 10 94 7B FF 00 FF"));
    const QList<TraceField> ppsFields{
        {"PPS request", "FF 10 94 7B"},
        {"Protocol asked", "T=0"},
        {"Fi Di asked", "94: Fi 512 Di 8 (64 clocks per bit)"},
        {"PPS request check byte", "7B: right"},
        {"PPS response", "FF 00 FF"},
        {"Protocol granted", "T=0"},
        {"Fi Di granted", "no PPS1: Fi 372 Di 1 (372 clocks per bit)"},
        {"PPS response check byte", "FF: right"},
        {"Outcome", "Fi and Di refused"},
    };
    ASSERT_EQ(pps.rows.size(), 5);
    EXPECT_EQ(RowFields(pps, pps.rows[2]), ppsFields);
    EXPECT_EQ(RowFields(pps, pps.rows[4]), ppsFields);
}

TEST(T0Decoder, TextShowsTimesSinceTheOpenAndTheSilenceBefore)
{
    // Steps are 1 ms apart; the open is the first.
    const QList<QByteArray> lines = TraceText(DecodeT0(Steps("open 0; > A0 F2 00 00 16; < F2"))).split('\n');
    ASSERT_EQ(lines.size(), 5);
    EXPECT_EQ(lines[0], "time (ms)\tsilence (ms)\tdirection\tbytes\tmeaning");
    EXPECT_TRUE(lines[1].startsWith("0.000\t\t\t\tport opened at "));
    EXPECT_EQ(lines[2], "1.000\t1.000\tto card\tA0 F2 00 00 16\tSTATUS, 22 bytes from the card (case 2): no status word, "
                        "the trace ends");
    EXPECT_EQ(lines[3], "6.000\t1.000\tfrom card\tF2\tACK: the rest of the data may follow");
}

TEST(T0Decoder, AnyTrafficGivesRowsAndPacketsThatHoldEveryByte)
{
    QRandomGenerator random(9);
    for (int round = 0; round < 50; ++round) {
        qint64 bytes = 0;
        const LinkTimeline timeline = RandomTraffic(random, bytes);
        const Trace trace = DecodeT0(timeline);
        qint64 shown = 0;
        for (const TraceRow& row : trace.rows) {
            shown += trace.Bytes(row).size();
            ASSERT_FALSE(RowMeaning(trace, row).isEmpty());
            RowFields(trace, row);
        }
        ASSERT_EQ(shown, bytes) << "round " << round;
        ASSERT_EQ(trace.bytes.size(), bytes) << "every row done keeps its bytes in the trace";
        qint64 exported = 0;
        for (const QByteArray& payload : PcapPayloads(PcapFile(trace)))
            exported += payload.size();
        ASSERT_EQ(exported, bytes) << "the pcap file carries every byte, round " << round;
    }
}

TEST(T0Decoder, TellsWhatTheCardStillOwes)
{
    using Owed = T0Decoder::Owed;
    const struct {
        const char* steps;
        Owed owed;
    } cases[] = {
        {"open 0", Owed::Nothing},
        {"open 0; < 3F 65 25", Owed::Atr},
        {"open 0; < 3F 65 25 00 2C 09 69 90 00", Owed::Nothing},
        {"open 0; > A0 A4 00", Owed::Nothing},
        {"open 0; > A0 A4 00 00 02", Owed::Answer},
        {"open 0; > A0 A4 00 00 02; < A0 A4 00 00 02", Owed::Answer},
        {"open 0; > A0 A4 00 00 02; < A0 A4 00 00 02 A4", Owed::Nothing},
        {"open 0; > A0 A4 00 00 02; < A0 A4 00 00 02 A4; > 3F 00; < 3F 00 60", Owed::Answer},
        {"open 0; > A0 A4 00 00 02; < A0 A4 00 00 02 A4; > 3F 00; < 3F 00 9F", Owed::Answer},
        {"open 0; > A0 A4 00 00 02; < A0 A4 00 00 02 A4; > 3F 00; < 3F 00 9F 0F", Owed::Nothing},
        {"open 0; > 00 A4 00 00 02; < 00; > 3F", Owed::Answer},
        {"open 0; > A0 04 00 00 00; < 04 90 00", Owed::Nothing},
        {"open 0; > A0 B0 00 00 02; > A0 F2 00 00 03; < B0 12 34 90 00", Owed::Answer},
        {"open 0; < 3F 65 25 00 2C 09 69 90 00; > FF 10 94 7B", Owed::Answer},
        {"open 0; < 3F 65 25 00 2C 09 69 90 00; > FF 10 94 7B; < FF 10 94", Owed::Answer},
        {"open 0; < 3F 65 25 00 2C 09 69 90 00; > FF 10 94 7B; < FF 10 94 7B FF 10 94 7B", Owed::Nothing},
    };
    for (const auto& step : cases) {
        T0Decoder decoder;
        const LinkTimeline timeline = Steps(QString::fromLatin1(step.steps));
        for (qsizetype i = 0; i < timeline.Size(); ++i)
            decoder.Add(timeline.At(i));
        EXPECT_EQ(decoder.Owes(), step.owed) << step.steps;
    }
}
