#include "base/ProgramFolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace {
QString g_programFolder;

// share/kestrin/samples of the installation whose bin folder is `programFolder`.
QString SamplesBeside(const QString& programFolder)
{
    return QDir::cleanPath(programFolder + QStringLiteral("/" KESTRIN_SAMPLES_FROM_PROGRAM));
}

bool KeepsProgramFolder(const QString& programFolder)
{
    if (QFileInfo::exists(programFolder + QStringLiteral("/kestrin.ini")))
        return true;
    const QFileInfo folder(programFolder);
    return folder.isDir() && folder.isWritable() && !QFileInfo(SamplesBeside(programFolder)).isDir();
}
} // namespace

QString ProgramFolder()
{
    return g_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : g_programFolder;
}

void SetProgramFolder(const QString& folder) { g_programFolder = folder; }

WorkFolders ChooseWorkFolders(const QString& programFolder, const QString& configHome, const QString& dataHome)
{
    if (KeepsProgramFolder(programFolder))
        return {programFolder, programFolder, {}};
    return {configHome + QStringLiteral("/kestrin"), dataHome + QStringLiteral("/kestrin"),
            SamplesBeside(programFolder)};
}

WorkFolders CurrentWorkFolders()
{
    return ChooseWorkFolders(ProgramFolder(), QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
                             QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation));
}

QString SettingsFolder() { return CurrentWorkFolders().settings; }

QString ScriptsFolder() { return CurrentWorkFolders().scripts; }

void PrepareWorkFolders(const WorkFolders& folders)
{
    if (folders.samples.isEmpty())
        return;
    QDir().mkpath(folders.settings);
    if (QFileInfo::exists(folders.scripts) || !QDir().mkpath(folders.scripts))
        return;
    const QDir samples(folders.samples);
    for (const QString& name : samples.entryList(QDir::Files))
        QFile::copy(samples.filePath(name), folders.scripts + u'/' + name); // never replaces a file
}
