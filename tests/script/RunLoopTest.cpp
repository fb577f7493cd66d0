// The run loop: recognition, trimming, the parameters and the run controls.
#include "FakeScriptHost.h"

#include "base/Colours.h"
#include "base/KestrinError.h"
#include "base/MessagePump.h"
#include "base/ProgramFolder.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

class RunLoop : public ScriptTest {};

void CloseOnNextPass()
{
    QTimer::singleShot(0, [] { MessagePump::SetClosing(true); });
}

TEST_F(RunLoop, KeywordsMatchInAnyCaseWithoutDelimiterAndInTableOrder)
{
    RunScript({"REMARK: test", "rem", "SEND ('00')", "Send('3B 00')", "send('3B 01') trailing", "SENDVAL(P1)",
         "RESET card", "ENDREPEAT", "Remove the card", "SEND('no quote"});
    EXPECT_EQ(host.Texts("send"), QStringList({"3B 00", "3B 01", "", ""}));
}

TEST_F(RunLoop, BareKeywordsReadNothingOutsideTheLine)
{
    // A missing EXEC file ends its level: each EXEC form ends a run of its own.
    RunScript({"SEND('", "SENDVAL(", "GET(", "ENDREPEAT", "INC(", "MESSAGE('", "PROMPT('", "COMM(", "STATUS(",
               "PRINT(", "PRINTLN(", "FEED(", "DISPLAY(", "EXEC('"});
    RunScript({"EXEC(\""});
    EXPECT_EQ(host.Actions(), QStringList({"send", "text", "text"}));
    EXPECT_EQ(host.dialogs.texts("message"), QStringList({"", QString("Script Not Found!\r\n%1/").arg(ProgramFolder()),
                                                          QString("Script Not Found!\r\n%1/").arg(ProgramFolder())}));
    EXPECT_EQ(host.dialogs.texts("okcancel"), QStringList{""});
    for (const char* line : {"REPEAT(", "BAUD(", "WAIT("})
        EXPECT_THROW(RunScript({line}), ConversionError) << line;
}

TEST_F(RunLoop, LinesAreWrittenBackTrimmedAndEmptyOnesLeftAlone)
{
    const QStringList after = RunScript({"   SEND('00 B0 00 00 08')   ", "", " \t ", "\tREM x\r", "INC(P1)"});
    EXPECT_EQ(after, QStringList({"SEND('00 B0 00 00 08')", "", "", "REM x", "INC(P1)"}));
    EXPECT_EQ(host.Texts("send"), QStringList{"00 B0 00 00 08"});
    EXPECT_EQ(host.Texts("status"), QStringList(5, "Transmitting ..."));
    EXPECT_EQ(host.statusColour, Colours::Navy);
}

TEST_F(RunLoop, EmptyListLeavesTheStatusAlone)
{
    RunScript({});
    EXPECT_TRUE(host.calls.empty());
}

TEST_F(RunLoop, SendValueSendsTheNamedParameter)
{
    state.parameters = {"01", "00 A4 00 00 02", "", "", "05"};
    RunScript({"SENDVAL(p2)", "SENDVAL(P6)", "sendval(P5) ignored", "SENDVAL(P3)"});
    EXPECT_EQ(host.Texts("send"), QStringList({"00 A4 00 00 02", "05", ""}));
}

TEST_F(RunLoop, GetStoresTheConfirmedTextOrEmpty)
{
    state.parameters[0] = "old";
    state.parameters[1] = "old";
    host.dialogs.replies = {QString("05"), std::nullopt};
    RunScript({"GET(P1,'Record number')", "get(p2, 'Second')", "GET(P7,'x')", "GET(P3,no quotes)"});
    EXPECT_EQ(host.dialogs.texts("parameter").size(), 3);
    EXPECT_EQ(host.dialogs.shown[0].caption, "Record number");
    EXPECT_EQ(host.dialogs.shown[1].caption, "Second");
    EXPECT_EQ(host.dialogs.shown[2].caption, "");
    EXPECT_EQ(state.parameters[0], "05");
    EXPECT_EQ(state.parameters[1], "");
}

TEST_F(RunLoop, ClearingActiveStopsBeforeTheNextLine)
{
    host.onCall = [this](const FakeScriptHost::Call& call) {
        if (call.kind == "send")
            host.active = false;
    };
    RunScript({"SEND('01')", "SEND('02')"});
    EXPECT_EQ(host.Texts("send"), QStringList{"01"});
}

TEST_F(RunLoop, LineHeldByPauseRunsThoughActiveWasClearedMeanwhile)
{
    int held = 0;
    host.paused = [&] {
        host.active = false;
        return ++held < 3;
    };
    RunScript({"SEND('01')", "SEND('02')"});
    EXPECT_EQ(held, 3);
    EXPECT_EQ(host.Texts("send"), QStringList{"01"});
}

TEST_F(RunLoop, ClosingEndsThePauseHoldAndTheRun)
{
    host.paused = [] { return true; };
    CloseOnNextPass();
    RunScript({"SEND('01')"});
    EXPECT_TRUE(host.Texts("send").isEmpty());
}

TEST_F(RunLoop, ClosingEndsAWait)
{
    host.onCall = [](const FakeScriptHost::Call& call) {
        if (call.kind == "status")
            CloseOnNextPass();
    };
    RunScript({"WAIT(\"2000000000\")", "SEND('02')"});
    EXPECT_TRUE(host.Texts("send").isEmpty());
}

// A host whose lines shrink during the pass before a line: the run reads no further.
TEST_F(RunLoop, LinesRemovedDuringAYieldAreNotRead)
{
    StringListLines lines({"SEND('01')", "SEND('02')", "SEND('03')"});
    host.onCall = [&](const FakeScriptHost::Call& call) {
        if (call.kind == "send")
            QTimer::singleShot(0, [&] { lines.List().clear(); });
    };
    ScriptInterpreter(host, state).Run(lines);
    EXPECT_EQ(host.Texts("send"), QStringList{"01"});
}

} // namespace
