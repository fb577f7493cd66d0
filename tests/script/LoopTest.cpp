// REPEAT, ENDREPEAT and INC.
#include "FakeScriptHost.h"

#include "base/KestrinError.h"
#include "base/MessagePump.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

class Loops : public ScriptTest {};

TEST_F(Loops, BodyRunsTheGivenNumberOfPassesThenTheRunGoesOn)
{
    RunScript({"SEND('A')", "REPEAT(3)", "SEND('B')", "SEND('C')", "ENDREPEAT", "SEND('D')", "REPEAT( 1)", "SEND('E')",
         "ENDREPEAT"});
    EXPECT_EQ(host.Texts("send").join(""), "ABCBCBCDE");
}

TEST_F(Loops, InnerRepeatReplacesTheOpenLoop)
{
    // The inner loop runs its 2 passes; the outer ENDREPEAT then finds no loop open.
    RunScript({"REPEAT(3)", "SEND('A')", "REPEAT(2)", "SEND('B')", "ENDREPEAT", "SEND('C')", "ENDREPEAT", "SEND('D')"});
    EXPECT_EQ(host.Texts("send").join(""), "ABBCD");
}

TEST_F(Loops, EndRepeatWithoutALoopAndRepeatWithoutAnEnd)
{
    RunScript({"ENDREPEAT", "SEND('A')", "REPEAT(5)", "SEND('B')"});
    EXPECT_EQ(host.Texts("send").join(""), "AB");
}

TEST_F(Loops, CountsGoThroughTheIntegerConversion)
{
    RunScript({"REPEAT($2)", "SEND('A')", "ENDREPEAT"});
    EXPECT_EQ(host.Texts("send").join(""), "AA");
    for (const char* line : {"REPEAT(2 )", "REPEAT(two)", "REPEAT()", "REPEAT(3"})
        EXPECT_THROW(RunScript({line, "SEND('B')"}), ConversionError) << line;
    EXPECT_EQ(host.Texts("send").join(""), "AA");
}

TEST_F(Loops, RepeatZeroRunsUntilActiveIsCleared)
{
    host.onCall = [this](const FakeScriptHost::Call& call) {
        if (call.kind == "send" && host.Texts("send").size() == 50)
            host.active = false;
    };
    RunScript({"REPEAT(0)", "SEND('A')", "ENDREPEAT", "SEND('B')"});
    EXPECT_EQ(host.Texts("send"), QStringList(50, "A"));
}

TEST_F(Loops, RepeatZeroEndsWhenTheProgramCloses)
{
    host.onCall = [this](const FakeScriptHost::Call& call) {
        if (call.kind == "send" && host.Texts("send").size() == 10)
            QTimer::singleShot(0, [] { MessagePump::SetClosing(true); });
    };
    RunScript({"REPEAT(0)", "SEND('A')", "ENDREPEAT"});
    EXPECT_EQ(host.Texts("send").size(), 10);
}

TEST_F(Loops, IncAddsOneToTheLeadingHexNumberOfP1)
{
    const std::pair<QString, QString> cases[] = {
        {"0F", "10"}, {"7", "08"}, {"FF", "100"}, {"1F 20", "20"}, {"09", "0A"}, {"", "01"}, {"ZZ", "01"}};
    for (const auto& [before, after] : cases) {
        state.parameters[0] = before;
        RunScript({"INC(P1)"});
        EXPECT_EQ(state.parameters[0], after) << before.toStdString();
    }
    RunScript({"INC(p1)", "INC(P2)", "INC(P1 )", "SENDVAL(P1)"});
    EXPECT_EQ(host.Texts("send"), QStringList{"01"});
}

} // namespace
