// Lines per second of the interpreter over 100,000 lines (comments, INC and empty
// lines), each line with its message-pump pass, through a host that does nothing.
#include "script/ScriptInterpreter.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <cstdio>

namespace {

class QuietHost : public ScriptHost {
public:
    bool Active() override { return true; }
    bool Paused() override { return false; }
    void SetStatus(const QString&, quint32) override {}
    void SendCommand(const QString&) override {}
    QString Response() override { return {}; }
    void ClearResponse() override {}
    void LineControl(LineFunction) override {}
    void SetBaudRate(int) override {}
    void SetEcho(bool) override {}
    std::optional<QString> GetParam(int, const QString&) override { return std::nullopt; }
    void ShowMessage(const QString&) override {}
    bool AskOkCancel(const QString&) override { return true; }
    void DoText(const QString&) override {}
    void WriteLog(const QString&) override {}
    void ClearLogs() override {}
    void ShowDisplay() override {}
    void HideDisplay() override {}
    void SetDisplayBackground(quint32) override {}
    void SetDisplayTextColour(quint32) override {}
    void SetDisplayBold(bool) override {}
    void SetDisplayItalic(bool) override {}
    QString ScriptFolder() override { return {}; }
};

constexpr int LineCount = 100'000;

QStringList BenchLines()
{
    QStringList lines;
    lines.reserve(LineCount);
    for (int i = 0; i < LineCount; ++i)
        lines << (i % 3 == 0 ? QStringLiteral("REM step %1").arg(i) : i % 3 == 1 ? QStringLiteral("  INC(P1)  ") : QString());
    return lines;
}

double LinesPerSecond(StringListLines& lines, ScriptState& state)
{
    QuietHost host;
    QElapsedTimer timer;
    timer.start();
    ScriptInterpreter(host, state).Run(lines);
    return LineCount / (timer.nsecsElapsed() / 1e9);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    StringListLines lines(BenchLines());
    ScriptState state;
    // The first run writes a third of the lines back trimmed; the second finds them trimmed.
    const double first = LinesPerSecond(lines, state);
    const double second = LinesPerSecond(lines, state);
    std::printf("script interpreter, %d lines (REM, INC, empty), one message-pump pass each:\n", LineCount);
    std::printf("  first run (trimming lines back): %.0f lines/s\n", first);
    std::printf("  second run:                      %.0f lines/s\n", second);
    std::printf("  target: at least 50000 lines/s; P1 after both runs: %s\n", qPrintable(state.parameters[0]));
    return 0;
}
