#include "ExplorerButtonFixture.h"

#include "base/MessagePump.h"
#include "widgets/ProgramLauncher.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTimer>

namespace {

// An executable shell script in `folder`; returns its path.
QString Script(const QTemporaryDir& folder, const QString& name, const QByteArray& body)
{
    const QString path = folder.filePath(name);
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return {};
    file.write("#!/bin/sh\n" + body + "\n");
    file.setPermissions(file.permissions() | QFileDevice::ExeOwner);
    return path;
}

} // namespace

TEST_F(ExplorerButtonTest, ApplicationIniGivesCaptionAndProgram)
{
    QTemporaryDir folder;
    const QString ini = folder.filePath(QStringLiteral("buttons.ini"));
    QFile file(ini);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("[Other]\nDescription=Wrong\n[explorerbutton2]\nDescription = Run &Editor\nApplication=/bin/true\n");
    file.close();
    first->setApplicationIni(ini);
    EXPECT_EQ(first->Caption(), QStringLiteral("Run &Editor"));
    EXPECT_EQ(first->App(), QStringLiteral("/bin/true"));

    second->setObjectName(QStringLiteral("Other"));
    second->setApp(QStringLiteral("/bin/false"));
    second->setApplicationIni(ini);
    EXPECT_EQ(second->Caption(), QStringLiteral("Wrong"));
    EXPECT_TRUE(second->App().isEmpty());
}

TEST_F(ExplorerButtonTest, ClickWithLaunchReturnsOnlyAfterTheProgramEnds)
{
    QTemporaryDir folder;
    const QString marker = folder.filePath(QStringLiteral("ended"));
    first->setApp(Script(folder, QStringLiteral("run.sh"), "sleep 0.2\ntouch '" + marker.toUtf8() + "'"));
    first->setApplicationLunch(true);
    QSignalSpy clicks(first, &TExplorerButton::clicked);
    Click(first);
    EXPECT_EQ(clicks.count(), 1);
    EXPECT_TRUE(QFile::exists(marker));
}

TEST_F(ExplorerButtonTest, LaunchNeedsTheFlagAndAnExistingProgram)
{
    QTemporaryDir folder;
    const QString marker = folder.filePath(QStringLiteral("ran"));
    first->setApp(Script(folder, QStringLiteral("run.sh"), "touch '" + marker.toUtf8() + "'"));
    Click(first);
    second->setApp(folder.filePath(QStringLiteral("missing.sh")));
    second->setApplicationLunch(true);
    Click(second);
    QTest::qWait(100);
    EXPECT_FALSE(QFile::exists(marker));
    EXPECT_TRUE(LaunchAndWait(QStringLiteral("/bin/true")));
    EXPECT_FALSE(LaunchAndWait(folder.path())); // a folder does not start
}

TEST_F(ExplorerButtonTest, WindowDestroyedWhileTheLaunchedProgramRunsIsNoFault)
{
    QTemporaryDir folder;
    first->setApp(Script(folder, QStringLiteral("run.sh"), "sleep 0.3"));
    first->setApplicationLunch(true);
    QObject::connect(first, &TExplorerButton::clicked, [this] {
        QTimer::singleShot(0, [this] { window.reset(); });
    });
    Click(first);
    EXPECT_EQ(window, nullptr);
}

TEST_F(ExplorerButtonTest, ClosingTheProgramEndsTheWaitForALaunchedProgram)
{
    QTemporaryDir folder;
    const QString marker = folder.filePath(QStringLiteral("ended"));
    first->setApp(Script(folder, QStringLiteral("run.sh"), "sleep 0.3\ntouch '" + marker.toUtf8() + "'"));
    first->setApplicationLunch(true);
    QObject::connect(first, &TExplorerButton::clicked, [] {
        QTimer::singleShot(0, [] { MessagePump::SetClosing(true); });
    });
    Click(first);
    MessagePump::SetClosing(false);
    EXPECT_FALSE(QFile::exists(marker));
    // The program left running ends by itself and its process object frees itself.
    EXPECT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 5000));
    QTest::qWait(100);
}
