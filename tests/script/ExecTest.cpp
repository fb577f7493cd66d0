// EXEC: nested run levels on script files of the program folder.
#include "FakeScriptHost.h"

#include "base/KestrinError.h"
#include "base/ProgramFolder.h"

#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class Exec : public ScriptTest {
protected:
    void SetUp() override { SetProgramFolder(m_folder.path()); }
    void TearDown() override
    {
        SetProgramFolder({});
        ScriptTest::TearDown();
    }

    void Write(const QString& name, const QByteArray& text)
    {
        QFile file(m_folder.filePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(text);
    }
    QString Path(const QString& name) const { return m_folder.filePath(name); }

private:
    QTemporaryDir m_folder;
};

TEST_F(Exec, NestedLevelSharesParametersButNotTheLoop)
{
    Write("sub.scr", "REPEAT(2)\r\nSEND('S')\rENDREPEAT\nGET(P1,'x')\nINC(P1)");
    host.dialogs.replies = {QString("04"), QString("07")};
    RunScript({"REPEAT(2)", "EXEC('sub.scr')", "SEND('C')", "ENDREPEAT", "SENDVAL(P1)"});
    EXPECT_EQ(host.Texts("send"), QStringList({"S", "S", "C", "S", "S", "C", "08"}));
}

TEST_F(Exec, UpperCasedNameFindsTheFileInAnyCaseAndBothQuotesWork)
{
    Write("login.scr", "SEND('L')");
    Write("Other.Scr", "SEND('O')");
    RunScript({"EXEC('LOGIN.SCR')", "exec(\" other.scr \")", "EXEC('login.scr') ignored"});
    EXPECT_EQ(host.Texts("send"), QStringList({"L", "O", "L"}));
}

TEST_F(Exec, MissingFileEndsOnlyItsOwnLevel)
{
    Write("outer.scr", "SEND('1')\nEXEC('none.scr')\nSEND('2')");
    RunScript({"EXEC('outer.scr')", "SEND('3')", "EXEC('')"});
    EXPECT_EQ(host.Texts("send"), QStringList({"1", "3"}));
    EXPECT_EQ(host.dialogs.texts("message"),
              QStringList({"Script Not Found!\r\n" + Path("NONE.SCR"), "Script Not Found!\r\n" + Path("NONE.SCR").chopped(8)}));
}

TEST_F(Exec, ScriptRunningItselfStopsAtTheNestingLimit)
{
    Write("self.scr", "INC(P1)\nEXEC('SELF.SCR')\nSEND('never')");
    try {
        RunScript({"EXEC('SELF.SCR')", "SEND('never')"});
        FAIL() << "no error";
    } catch (const KestrinError& error) {
        EXPECT_TRUE(error.message().contains(Path("self.scr"))) << error.what();
        EXPECT_TRUE(error.message().contains("32")) << error.what();
    }
    EXPECT_EQ(state.parameters[0], "1F"); // 31 nested levels ran below the top one
    EXPECT_TRUE(host.Texts("send").isEmpty());
}

TEST_F(Exec, ErrorInANestedLevelEndsEveryLevel)
{
    Write("bad.scr", "WAIT(\"soon\")\nSEND('B')");
    EXPECT_THROW(RunScript({"EXEC('BAD.SCR')", "SEND('A')"}), ConversionError);
    EXPECT_TRUE(host.Texts("send").isEmpty());
}

TEST_F(Exec, UnreadableFileEndsTheRunNamingIt)
{
    // A file without permissions, or for root, whom they do not bind, a write-only kernel attribute.
    Write("locked.scr", "SEND('x')");
    QFile::setPermissions(Path("locked.scr"), {});
    if (QFile(Path("locked.scr")).open(QIODevice::ReadOnly)) {
        QFile::remove(Path("locked.scr"));
        QFile::link("/sys/bus/platform/uevent", Path("locked.scr"));
    }
    if (QFile locked(Path("locked.scr")); !QFileInfo(locked).isFile() || locked.open(QIODevice::ReadOnly))
        GTEST_SKIP() << "no unreadable file can be made here";
    try {
        RunScript({"EXEC('LOCKED.SCR')", "SEND('after')"});
        FAIL() << "no error";
    } catch (const FileError& error) {
        EXPECT_TRUE(error.message().contains(Path("locked.scr"))) << error.what();
    }
    EXPECT_TRUE(host.Texts("send").isEmpty());
}

} // namespace
