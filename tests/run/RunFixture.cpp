#include "RunFixture.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace {
// A bound that only ends a failing test; nothing is timed by it.
constexpr int PatienceMs = 60000;
} // namespace

RunTest::RunTest()
{
    const QDir samples(qEnvironmentVariable("KESTRIN_SAMPLE_SCRIPTS", QStringLiteral(KESTRIN_SAMPLE_SCRIPTS)));
    for (const QString& name : samples.entryList({QStringLiteral("*.scr")}, QDir::Files))
        QFile::copy(samples.filePath(name), path(name));
}

QString RunProgram()
{
    const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/kestrin-run");
    return QFileInfo(beside).isExecutable() ? beside : QStringLiteral(KESTRIN_RUN_PROGRAM);
}

std::unique_ptr<QProcess> RunTest::start(const QStringList& arguments, const QString& input, QProcess* reader)
{
    const QStringList device{"-d", m_simulator.devicePath()};
    return startProgram((arguments.contains("-d") ? QStringList() : device) + QStringList{"--idle", "300"} + arguments,
                        input, reader);
}

std::unique_ptr<QProcess> RunTest::startProgram(const QStringList& arguments, const QString& input, QProcess* reader)
{
    auto process = std::make_unique<QProcess>();
    process->setWorkingDirectory(m_folder.path());
    process->setStandardInputFile(input);
    if (reader)
        process->setStandardOutputProcess(reader);
    process->start(RunProgram(), arguments);
    EXPECT_TRUE(process->waitForStarted(PatienceMs)) << process->errorString().toStdString();
    return process;
}

RunResult RunTest::finish(QProcess& process)
{
    EXPECT_TRUE(process.waitForFinished(PatienceMs)) << "still running";
    const QByteArray out = process.readAllStandardOutput();
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, QString::fromUtf8(out),
            QString::fromUtf8(process.readAllStandardError()), out};
}

RunResult RunTest::run(const QStringList& arguments)
{
    const auto process = start(arguments);
    return finish(*process);
}

void RunTest::writeFile(const QString& name, const QByteArray& content) const
{
    QFile file(path(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
    file.write(content);
}

QByteArray RunTest::readFile(const QString& name) const
{
    QFile file(path(name));
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

bool RunTest::waitForFile(const QString& name) const
{
    QDeadlineTimer patience(PatienceMs);
    while (!QFile::exists(path(name)) && !patience.hasExpired())
        QThread::msleep(10);
    return QFile::exists(path(name));
}
