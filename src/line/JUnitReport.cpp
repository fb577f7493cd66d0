#include "line/JUnitReport.h"

#include "run/RunStop.h"

#include <QXmlStreamWriter>
#include <algorithm>

namespace {

struct TestCase {
    enum class Outcome { Passed, Failed, Skipped };
    QString name;
    double seconds = 0;
    Outcome outcome = Outcome::Passed;
};

struct Tally {
    qsizetype tests = 0;
    qsizetype failures = 0;
    qsizetype skipped = 0;
    double seconds = 0;
};

// XML 1.0 takes no control characters but tab and line ends.
QString XmlText(QString text)
{
    for (QChar& character : text)
        if ((character < u' ' && character != u'\t' && character != u'\n' && character != u'\r') ||
            character == QChar(0xFFFE) || character == QChar(0xFFFF))
            character = QChar::ReplacementCharacter;
    return text;
}

// The item a run that stopped early ended in, from 1; 0 when none failed.
qsizetype FailedItem(const CardResult& result)
{
    if (result.status == int(ExitStatus::Done) || result.status == int(ExitStatus::Differs))
        return 0;
    return std::max<qsizetype>(result.itemStarts.size(), 1);
}

TestCase ItemCase(const CardResult& result, qsizetype item, const QString& itemName)
{
    const QList<double>& starts = result.itemStarts;
    TestCase test{QStringLiteral("card %1 item %2: %3").arg(result.card).arg(item).arg(itemName)};
    if (item <= starts.size())
        test.seconds = (item < starts.size() ? starts[item] : result.seconds) - starts[item - 1];
    const qsizetype failed = FailedItem(result);
    if (item == failed)
        test.outcome = TestCase::Outcome::Failed;
    else if (failed > 0 && item > failed)
        test.outcome = TestCase::Outcome::Skipped;
    return test;
}

TestCase CheckCase(const CardResult& result, const QString& checkName)
{
    TestCase test{QStringLiteral("card %1: check against %2").arg(result.card).arg(checkName)};
    if (result.status == int(ExitStatus::Differs))
        test.outcome = TestCase::Outcome::Failed;
    else if (result.status != int(ExitStatus::Done))
        test.outcome = TestCase::Outcome::Skipped;
    return test;
}

QList<TestCase> CardCases(const JUnitLine& line, const CardResult& result)
{
    QList<TestCase> cases;
    for (qsizetype item = 1; item <= line.itemNames.size(); ++item)
        cases << ItemCase(result, item, line.itemNames[item - 1]);
    if (!line.checkName.isEmpty())
        cases << CheckCase(result, line.checkName);
    return cases;
}

// The case that carries the card's transcript: the failed one, else the last.
qsizetype TranscriptCase(const QList<TestCase>& cases)
{
    const auto failed = std::find_if(cases.begin(), cases.end(),
                                     [](const TestCase& test) { return test.outcome == TestCase::Outcome::Failed; });
    return failed != cases.end() ? failed - cases.begin() : cases.size() - 1;
}

void WriteTally(QXmlStreamWriter& xml, const Tally& tally)
{
    xml.writeAttribute(QStringLiteral("tests"), QString::number(tally.tests));
    xml.writeAttribute(QStringLiteral("failures"), QString::number(tally.failures));
    xml.writeAttribute(QStringLiteral("errors"), QStringLiteral("0"));
    xml.writeAttribute(QStringLiteral("skipped"), QString::number(tally.skipped));
    xml.writeAttribute(QStringLiteral("time"), QString::number(tally.seconds, 'f', 3));
}

void WriteCase(QXmlStreamWriter& xml, const LineInterface& face, const TestCase& test, const CardResult& result,
               bool withTranscript)
{
    xml.writeStartElement(QStringLiteral("testcase"));
    xml.writeAttribute(QStringLiteral("classname"), face.fileName);
    xml.writeAttribute(QStringLiteral("name"), XmlText(test.name));
    xml.writeAttribute(QStringLiteral("time"), QString::number(test.seconds, 'f', 3));
    if (test.outcome == TestCase::Outcome::Failed) {
        xml.writeStartElement(QStringLiteral("failure"));
        xml.writeAttribute(QStringLiteral("message"), XmlText(ResultText(result)));
        xml.writeAttribute(QStringLiteral("type"), QStringLiteral("exit status %1").arg(result.status));
        xml.writeCharacters(XmlText(result.messages));
        xml.writeEndElement();
    } else if (test.outcome == TestCase::Outcome::Skipped) {
        xml.writeEmptyElement(QStringLiteral("skipped"));
        xml.writeAttribute(QStringLiteral("message"), XmlText(QStringLiteral("not reached: %1").arg(ResultText(result))));
    }
    if (withTranscript)
        xml.writeTextElement(QStringLiteral("system-out"), XmlText(result.transcript));
    xml.writeEndElement();
}

Tally Count(const QList<TestCase>& cases, double seconds)
{
    Tally tally{cases.size(), 0, 0, seconds};
    for (const TestCase& test : cases) {
        tally.failures += test.outcome == TestCase::Outcome::Failed ? 1 : 0;
        tally.skipped += test.outcome == TestCase::Outcome::Skipped ? 1 : 0;
    }
    return tally;
}

void Add(Tally& total, const Tally& part)
{
    total.tests += part.tests;
    total.failures += part.failures;
    total.skipped += part.skipped;
    total.seconds += part.seconds;
}

Tally SuiteTally(const JUnitLine& line, const QList<CardResult>& results)
{
    Tally tally;
    for (const CardResult& result : results)
        Add(tally, Count(CardCases(line, result), result.seconds));
    return tally;
}

void WriteSuite(QXmlStreamWriter& xml, const JUnitLine& line, const LineInterface& face,
                const QList<CardResult>& results)
{
    xml.writeStartElement(QStringLiteral("testsuite"));
    xml.writeAttribute(QStringLiteral("name"), face.label);
    WriteTally(xml, SuiteTally(line, results));
    for (const CardResult& result : results) {
        const QList<TestCase> cases = CardCases(line, result);
        for (qsizetype index = 0; index < cases.size(); ++index)
            WriteCase(xml, face, cases[index], result, index == TranscriptCase(cases));
    }
    xml.writeEndElement();
}

QList<CardResult> ResultsOf(const LineInterface& face, QList<CardResult> results)
{
    results.removeIf([&face](const CardResult& result) { return result.interfaceLabel != face.label; });
    std::sort(results.begin(), results.end(), [](const CardResult& a, const CardResult& b) { return a.card < b.card; });
    return results;
}

} // namespace

QByteArray JUnitXml(const JUnitLine& line, const QList<CardResult>& results)
{
    QList<QList<CardResult>> suites;
    Tally total;
    for (const LineInterface& face : line.interfaces) {
        suites << ResultsOf(face, results);
        Add(total, SuiteTally(line, suites.last()));
    }
    QByteArray document;
    QXmlStreamWriter xml(&document);
    xml.setAutoFormatting(true);
    xml.writeStartDocument();
    xml.writeStartElement(QStringLiteral("testsuites"));
    xml.writeAttribute(QStringLiteral("name"), QStringLiteral("kestrin-run"));
    WriteTally(xml, total);
    for (qsizetype index = 0; index < suites.size(); ++index)
        WriteSuite(xml, line, line.interfaces[index], suites[index]);
    xml.writeEndDocument();
    return document;
}
