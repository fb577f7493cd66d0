// MESSAGE, PROMPT, COMM, BAUD, STATUS and WAIT.
#include "FakeScriptHost.h"

#include "base/KestrinError.h"

#include <QTimer>
#include <gtest/gtest.h>

namespace {

class DeviceCommands : public ScriptTest {};

TEST_F(DeviceCommands, MessageAndStatusShowTheTextBetweenTheQuotes)
{
    RunScript({"MESSAGE('Done')", "message('Insert the card')", "MESSAGE('", "STATUS('Step 2')", "STATUS(\"Step 3\")"});
    EXPECT_EQ(host.dialogs.texts("message"), QStringList({"Done", "Insert the card", ""}));
    EXPECT_EQ(host.Texts("status").filter("Step"), QStringList({"Step 2", "Step 3"}));
}

TEST_F(DeviceCommands, PromptShowsItsBoxThenTheCancelOrResetBox)
{
    RunScript({"PROMPT('Go on?',RESET)", "PROMPT('Card inserted?',CANCEL)", "PROMPT('Go on?',STOP)",
         "PROMPT('Go on?')", "PROMPT(',RESET)", "PROMPT('x',reset)"});
    EXPECT_EQ(host.dialogs.texts("okcancel"), QStringList({"Go on?", "Card inserted?", "Go on?", "", "", "x"}));
    EXPECT_EQ(host.dialogs.texts("message"), QStringList({"RESET", "CANCEL", "RESET"}));
}

TEST_F(DeviceCommands, CommAppliesEveryPhraseFoundInTableOrder)
{
    RunScript({"COMM(CLR RTS SET DTR)", "comm(SET BREAK)", "COMM(set dtr)",
         "COMM(CLR RTS, SET RTS, SET DTR, CLR DTR, CLR BREAK, SET BREAK)"});
    // SETBREAK 8, CLRBREAK 9, CLRDTR 6, SETDTR 5, SETRTS 3, CLRRTS 4
    EXPECT_EQ(host.Texts("line"), QStringList({"5", "4", "8", "8", "9", "6", "5", "3", "4"}));
}

TEST_F(DeviceCommands, BaudLogsEveryRateAndSwitchesOnlySupportedOnes)
{
    RunScript({"BAUD(\"19200\")", "BAUD(\"4800\")", "baud(\"9600\")", "BAUD(\"$9600\")", "BAUD(\"38400\")"});
    EXPECT_EQ(host.Texts("log"), QStringList({"Baud Rate Set To: 19200\r\n", "Baud Rate Set To: 4800\r\n",
                                              "Baud Rate Set To: 9600\r\n", "Baud Rate Set To: 38400\r\n",
                                              "Baud Rate Set To: 38400\r\n"}));
    EXPECT_EQ(host.Texts("baud"), QStringList({"19200", "9600", "38400", "38400"}));
    EXPECT_THROW(RunScript({"BAUD(\"fast\")"}), ConversionError);
    EXPECT_THROW(RunScript({"BAUD(\"9600)"}), ConversionError);
}

TEST_F(DeviceCommands, WaitAcceptsNothingButIntegers)
{
    RunScript({"WAIT(\"0\")", "WAIT(\"-5\")", "WAIT(\"20\")", "SEND('done')"});
    EXPECT_EQ(host.Texts("send"), QStringList{"done"});
    EXPECT_THROW(RunScript({"WAIT(\"1 s\")"}), ConversionError);
}

TEST_F(DeviceCommands, ClearingActiveEndsTheLongestWaitAndTheRun)
{
    host.onCall = [this](const FakeScriptHost::Call& call) {
        if (call.kind == "send")
            QTimer::singleShot(1, [this] { host.active = false; });
    };
    RunScript({"SEND('before')", "WAIT(\"2147483647\")", "SEND('after')"});
    EXPECT_EQ(host.Texts("send"), QStringList{"before"});
}

} // namespace
