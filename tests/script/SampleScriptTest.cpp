// The sample scripts: complete headers, every EXEC found, and the demo reaching
// every kind of command without an error.
#include "FakeScriptHost.h"

#include "base/ProgramFolder.h"
#include "script/ScriptCatalogue.h"

#include <QSet>
#include <gtest/gtest.h>

namespace {

class SampleScripts : public ScriptTest {
protected:
    void SetUp() override { SetProgramFolder(KESTRIN_SAMPLE_SCRIPTS); }
    void TearDown() override
    {
        SetProgramFolder({});
        ScriptTest::TearDown();
    }
};

TEST_F(SampleScripts, EveryScriptHasAFullHeader)
{
    const QStringList names = ScriptFileNames(ProgramFolder());
    EXPECT_GE(names.size(), 8);
    for (const QString& name : names) {
        const ScriptHeader header = ReadScriptHeader(ProgramFolder() + '/' + name);
        EXPECT_FALSE(QStringList({header.version, header.description, header.author, header.date}).contains("N/A"))
            << name.toStdString();
    }
}

// The demo runs the card tour; the reset of a real card interface adds the line
// and baud-rate commands that a pseudo-terminal cannot carry out.
TEST_F(SampleScripts, TheDemoAndTheResetRunEveryKindOfCommand)
{
    host.dialogs.replies = {QString("01")};
    for (const char* name : {"/demo.scr", "/reset.scr"}) {
        StringListLines lines(LoadScriptLines(ProgramFolder() + name));
        ScriptInterpreter(host, state).Run(lines);
    }
    EXPECT_TRUE(host.dialogs.texts("message").filter("Not Found").isEmpty());
    QSet<QString> kinds;
    for (const auto& call : host.calls)
        kinds << call.kind;
    for (const auto& shown : host.dialogs.shown)
        kinds << shown.kind;
    for (const char* kind : {"send", "line", "baud", "log", "echo", "text", "display", "background", "colour",
                             "bold", "italic", "clear logs", "message", "okcancel", "parameter"})
        EXPECT_TRUE(kinds.contains(kind)) << kind;
    EXPECT_EQ(host.Texts("send").filter("00 B2").size(), 5);
    EXPECT_EQ(state.parameters[0], "06");
}

} // namespace
