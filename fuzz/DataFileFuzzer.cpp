// A data file as the operator might load it: read into lines, classified into
// the two panes, and the Raw Data pane transmitted through a fake main window.
//
// Input: the BYTE DELAY text and the COMMAND DELAY text (each ended by a
// backslash and one more character), then the file's bytes.
#include "FuzzSupport.h"

#include <algorithm>

#include "base/KestrinError.h"
#include "datafile/DataFile.h"
#include "datafile/DataFileReader.h"
#include "datafile/DataTransmitter.h"

#include <algorithm>
#include <fuzzer/FuzzedDataProvider.h>

namespace {

// A main window whose Active box stays ticked until the pump budget is spent.
class FuzzTransmitHost : public TransmitHost {
public:
    QStringList raw;
    QString byteDelay;
    QString commandDelay;
    qsizetype bytesPut = 0;

    bool Active() override { return !m_budget.Spent(); }
    void ClearResponse() override {}
    qsizetype RawLineCount() override { return raw.size(); }
    QString RawLine(qsizetype index) override { return raw.at(index); }
    void SetStatus(const QString&, quint32) override {}
    void PutByte(quint8) override { ++bytesPut; }
    QString ByteDelayText() override { return byteDelay; }
    QString CommandDelayText() override { return commandDelay; }
    void LogAtCaret(const QString&) override {}

private:
    Fuzz::PumpBudget m_budget{1000};
};

// No byte of the file is lost or changed: the lines hold every character before
// Ctrl-Z but the line ends, in order, none longer than one read.
void CheckLines(const QStringList& lines, QByteArrayView bytes)
{
    QByteArray expected = bytes.first(bytes.contains('\x1A') ? bytes.indexOf('\x1A') : bytes.size()).toByteArray();
    expected.removeIf([](char c) { return c == '\r' || c == '\n'; });
    Fuzz::Require(lines.join(QString()).toLatin1() == expected, "the lines hold every character of the file");
    for (const QString& line : lines)
        Fuzz::Require(line.size() <= DataFileReader::MaxLineRead, "no line is longer than one read");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzedDataProvider input(data, size);
    FuzzTransmitHost host;
    host.byteDelay = QString::fromStdString(input.ConsumeRandomLengthString(16));
    host.commandDelay = QString::fromStdString(input.ConsumeRandomLengthString(16));
    const std::string file = input.ConsumeRemainingBytesAsString();
    const QByteArrayView bytes(file.data(), qsizetype(file.size()));

    const QStringList lines = DataFileReader::SplitLines(bytes);
    CheckLines(lines, bytes);
    const DataFile classified = ClassifyLines(lines);
    Fuzz::Require(classified.lines == lines && classified.rawLines.size() <= lines.size(),
                  "the Data File pane shows every line, the Raw Data pane no more");
    Fuzz::Require(classified.rawLineNumbers.size() == classified.rawLines.size()
                      && std::is_sorted(classified.rawLineNumbers.begin(), classified.rawLineNumbers.end()),
                  "every Raw Data line has the number of the file's line it came from, in order");

    host.raw = classified.rawLines;
    try {
        DataTransmitter(host).Run();
    } catch (const KestrinError&) {
        // A delay or a token that is not a number ends the run with a message: sound.
    }
    return 0;
}
