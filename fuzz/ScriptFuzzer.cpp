// A script as the operator might load and run it: its text (UTF-8) cut into
// lines and run by the interpreter through a fake main window. EXEC finds a few
// scripts in a program folder of the harness's own, one of them calling itself.
#include "FuzzSupport.h"

#include "base/KestrinError.h"
#include "base/ProgramFolder.h"
#include "link/CommandLine.h"
#include "script/ScriptFile.h"
#include "script/ScriptInterpreter.h"

#include <QDir>
#include <QFile>
#include <array>

namespace {

// A main window that answers every box, takes every byte and echoes each sent
// line as the card would. Its Active box stays ticked until the pump budget is
// spent: the budget caps REPEAT loops and WAIT counts.
class FuzzScriptHost : public ScriptHost {
public:
    bool Active() override { return !m_budget.Spent(); }
    bool Paused() override { return false; }
    void SetStatus(const QString&, quint32) override {}
    // The interface echoes the line, the card answers "90 00".
    void SendCommand(const QString& line) override { m_response = ResponseText(DecodeCommand(line)) + "90 00 "; }
    QString Response() override { return m_response; }
    void ClearResponse() override { m_response.clear(); }
    void LineControl(LineFunction) override {}
    void SetBaudRate(int baud) override
    {
        Fuzz::Require(baud == 9600 || baud == 19200 || baud == 38400, "only supported rates reach the port");
    }
    void SetEcho(bool) override {}
    // The operator's answers take turns: a value, an empty one, Cancel, large numbers, no number.
    std::optional<QString> GetParam(int, const QString&) override
    {
        static const std::array<std::optional<QString>, 5> answers = {
            QStringLiteral("3F 00"), QString(), std::nullopt, QStringLiteral("FFFFFFFF"), QStringLiteral("zz")};
        return answers[m_asked++ % answers.size()];
    }
    void ShowMessage(const QString&) override {}
    bool AskOkCancel(const QString&) override { return ++m_asked % 2 == 0; }
    void DoText(const QString&) override {}
    void WriteLog(const QString&) override {}
    void ClearLogs() override {}
    void ShowDisplay() override {}
    void HideDisplay() override {}
    void SetDisplayBackground(quint32) override {}
    void SetDisplayTextColour(quint32) override {}
    void SetDisplayBold(bool) override {}
    void SetDisplayItalic(bool) override {}
    QString ScriptFolder() override { return ProgramFolder(); }

private:
    Fuzz::PumpBudget m_budget{1000};
    QString m_response;
    size_t m_asked = 0;
};

void WriteScript(const QString& name, const QByteArray& text)
{
    QFile file(ProgramFolder() + u'/' + name);
    Fuzz::Require(file.open(QIODevice::WriteOnly) && file.write(text) == text.size(), "a script can be written");
}

// The scripts that EXEC finds, once for the process.
bool PrepareProgramFolder()
{
    SetProgramFolder(Fuzz::ScratchFolder());
    WriteScript(QStringLiteral("SUB.SCR"), "PRINTLN(\"sub\")\r\nSEND('00 B0 00 00 02')\r\nFEED(\"PRINT ALL\")\r\n");
    WriteScript(QStringLiteral("lower.scr"), "GET(P1,'value')\nINC(P1)\nSENDVAL(P1)\n");
    WriteScript(QStringLiteral("SELF.SCR"), "EXEC('SELF.SCR')\r\n");
    return QDir(ProgramFolder()).mkdir(QStringLiteral("FOLDER.SCR"));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    static const bool prepared = PrepareProgramFolder();
    Fuzz::Require(prepared, "the program folder is ready");
    FuzzScriptHost host;
    ScriptState state;
    ScriptInterpreter interpreter(host, state);
    StringListLines lines(SplitScriptLines(QString::fromUtf8(reinterpret_cast<const char*>(data), qsizetype(size))));
    try {
        interpreter.Run(lines);
    } catch (const KestrinError&) {
        // Conversion and file errors end the run with a message: sound.
    }
    return 0;
}
