// kestrin, kestrin-run, kestrin-cardsim and kestrin-extcap started as a newcomer starts them.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <sys/stat.h>

namespace {

struct Finished {
    int exitCode = -1;
    QString out;
    QString err;
};

Finished RunProgram(const QString& program, const QStringList& arguments, const QProcessEnvironment& environment)
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(program, arguments);
    EXPECT_TRUE(process.waitForFinished(60000)) << program.toStdString() << " still runs";
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()), QString::fromLocal8Bit(process.readAllStandardError())};
}

// No display: whatever needs the window system fails.
QProcessEnvironment WithoutDisplay()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("DISPLAY"));
    environment.remove(QStringLiteral("WAYLAND_DISPLAY"));
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
    return environment;
}

const struct {
    const char* name;
    const char* path;
    int usageStatus;
} Programs[] = {
    {"kestrin", KESTRIN_PROGRAM, 1},
    {"kestrin-run", KESTRIN_RUN_PROGRAM, 2},
    {"kestrin-cardsim", KESTRIN_CARDSIM_PROGRAM, 2},
    {"kestrin-extcap", KESTRIN_EXTCAP_PROGRAM, 2},
};

// Every program takes --version and refuses an unknown option before it needs
// a display, each saying so as the others do.
TEST(Programs, AnswerTheVersionAndRefuseAnUnknownOptionAlike)
{
    for (const auto& [name, path, usageStatus] : Programs) {
        const Finished version = RunProgram(path, {"--version"}, WithoutDisplay());
        EXPECT_EQ(version.exitCode, 0) << name << ": " << version.err.toStdString();
        EXPECT_EQ(version.out, QStringLiteral("%1 %2\n").arg(name, KESTRIN_VERSION));

        const Finished unknown = RunProgram(path, {"--frobnicate"}, WithoutDisplay());
        EXPECT_EQ(unknown.exitCode, usageStatus) << name;
        EXPECT_EQ(unknown.err, QStringLiteral("%1: unknown option '--frobnicate' (see --help)\n").arg(name));
    }
}

// Without XDG_RUNTIME_DIR (a root shell) the window starts without a word of it,
// in a runtime folder of the user's own that nobody else may enter.
TEST(Programs, TheWindowSaysNothingOfAMissingRuntimeFolder)
{
    QTemporaryDir folder;
    const QString program = folder.filePath(QStringLiteral("kestrin"));
    ASSERT_TRUE(QFile::copy(KESTRIN_PROGRAM, program));
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    environment.insert(QStringLiteral("TMPDIR"), folder.path());
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    // The install check's driver proceeds past the splash window, saves and closes.
    environment.insert(QStringLiteral("QT_PLUGIN_PATH"), KESTRIN_DRIVER_PLUGINS);
    environment.insert(QStringLiteral("QT_QPA_GENERIC_PLUGINS"), QStringLiteral("kestrindriver:COM1"));

    const Finished started = RunProgram(program, {}, environment);
    EXPECT_EQ(started.exitCode, 0);
    EXPECT_TRUE(started.out.contains("COMPORT:")) << "the window was not reached: " << started.err.toStdString();
    EXPECT_FALSE(started.err.contains("XDG_RUNTIME_DIR")) << started.err.toStdString();
    const QStringList runtime = QDir(folder.path()).entryList({"runtime-*"}, QDir::Dirs);
    ASSERT_EQ(runtime.size(), 1);
    struct stat status {};
    ASSERT_EQ(stat(QFile::encodeName(folder.filePath(runtime.first())).constData(), &status), 0);
    EXPECT_EQ(status.st_mode & 0777, 0700u);
}

} // namespace
