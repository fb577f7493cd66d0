// Prints how long a 100,000-line data file takes to reach both panes, and what
// transmitting a 10,000-byte block costs in software per byte (BYTE DELAY 0).
#include "datafile/DataFile.h"
#include "common/Offscreen.h"
#include "datafile/DataTransmitter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QTextBlock>
#include <cstdio>
#include <vector>

namespace {

constexpr int FileLines = 100'000;
constexpr int BlockBytes = 10'000;
constexpr int BytesPerLine = 10;

// Groups of a comment, eight data lines with a note and a send marker, CR LF ends.
QString WriteDataFile(const QTemporaryDir& dir)
{
    const QString path = dir.filePath("large.dat");
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        qFatal("cannot write %s", qPrintable(path));
    QByteArray text;
    for (int line = 0; line < FileLines; ++line) {
        if (line % 10 == 0)
            text += "; record " + QByteArray::number(line / 10) + ": select and read the next record\r\n";
        else if (line % 10 == 9)
            text += "R\r\n";
        else
            text += "00 B0 00 00 10 11 22 33 44 55 66 77 88 99 AA BB ; data " + QByteArray::number(line % 10) + "\r\n";
    }
    file.write(text);
    return path;
}

double Milliseconds(const QElapsedTimer& timer) { return timer.nsecsElapsed() / 1e6; }

// Loads the file and fills two panes with `fill`, then shows them once.
template <typename Fill>
void MeasureLoading(const char* how, const QString& path, Fill fill)
{
    QPlainTextEdit dat;
    QPlainTextEdit raw;
    QElapsedTimer timer;
    timer.start();
    const DataFile loaded = LoadDataFile(path);
    const double read = Milliseconds(timer);
    fill(dat, loaded.lines);
    fill(raw, loaded.rawLines);
    const double filled = Milliseconds(timer);
    dat.show();
    raw.show();
    QApplication::processEvents();
    std::printf("%-28s read+classify %7.1f ms, both panes filled %7.1f ms, first shown %7.1f ms (%d + %d lines)\n",
                how, read, filled, Milliseconds(timer), dat.blockCount(), raw.blockCount());
}

// A window whose PutByte only stores, with the Raw Data lines in a list or in a text document.
class StoringHost : public TransmitHost {
public:
    explicit StoringHost(QStringList lines, QTextDocument* document = nullptr)
        : m_lines(std::move(lines)), m_document(document) {}
    bool Active() override { return true; }
    void ClearResponse() override { m_response.clear(); }
    qsizetype RawLineCount() override { return m_document ? m_document->blockCount() : m_lines.size(); }
    QString RawLine(qsizetype index) override
    {
        return m_document ? m_document->findBlockByNumber(int(index)).text() : m_lines.at(index);
    }
    void SetStatus(const QString& text, quint32) override { m_status = text; }
    void PutByte(quint8 byte) override { m_sent.push_back(byte); }
    QString ByteDelayText() override { return QStringLiteral("0"); }
    QString CommandDelayText() override { return QStringLiteral("0"); }
    void LogAtCaret(const QString& text) override { m_log += text; }
    std::size_t sent() const { return m_sent.size(); }

private:
    QStringList m_lines;
    QTextDocument* m_document;
    QString m_response, m_status, m_log;
    std::vector<quint8> m_sent;
};

QStringList BlockLines()
{
    QStringList lines;
    for (int line = 0; line < BlockBytes / BytesPerLine; ++line)
        lines << QStringLiteral("A0 A1 A2 A3 A4 A5 A6 A7 A8 A9");
    lines << QStringLiteral("R");
    return lines;
}

void MeasureTransmission(const char* how, StoringHost& host)
{
    QElapsedTimer timer;
    timer.start();
    DataTransmitter(host).Run();
    const double elapsed = Milliseconds(timer);
    std::printf("%-28s %zu bytes in %7.1f ms: %6.2f us per byte\n", how, host.sent(), elapsed,
                elapsed * 1000 / double(host.sent()));
}

} // namespace

int main(int argc, char** argv)
{
    UseOffscreenUnlessSet();
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = WriteDataFile(dir);
    std::printf("data file: %d lines, %lld bytes\n", FileLines, QFile(path).size());

    // Alternated, so that neither way profits alone from a warmed-up heap.
    for (int round = 0; round < 2; ++round) {
        MeasureLoading("setPlainText(joined):", path,
                       [](QPlainTextEdit& pane, const QStringList& lines) { pane.setPlainText(lines.join(u'\n')); });
        MeasureLoading("appendPlainText(joined):", path,
                       [](QPlainTextEdit& pane, const QStringList& lines) { pane.appendPlainText(lines.join(u'\n')); });
    }

    StoringHost listHost(BlockLines());
    MeasureTransmission("transmit, lines in a list:", listHost);
    QPlainTextEdit pane;
    pane.setPlainText(BlockLines().join(u'\n'));
    StoringHost paneHost({}, pane.document());
    MeasureTransmission("transmit, lines in a pane:", paneHost);
    return 0;
}
