#include "base/ProgramFolder.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class WorkFoldersTest : public ::testing::Test {
protected:
    QString path(const QString& name) const { return m_dir.filePath(name); }
    void makeFolder(const QString& name) const { ASSERT_TRUE(QDir().mkpath(path(name))); }
    void writeFile(const QString& name, const QByteArray& content) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly)) << name.toStdString();
        file.write(content);
    }
    QByteArray readFile(const QString& name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("(none)");
    }
    WorkFolders choose(const QString& programFolder) const
    {
        return ChooseWorkFolders(path(programFolder), path("config"), path("data"));
    }

    QTemporaryDir m_dir;
};

TEST_F(WorkFoldersTest, ProgramFolderIsKeptUnlessInstalledOrUnwritable)
{
    makeFolder("copy");                        // a portable copy, the build, the demo
    makeFolder("usr/bin");                     // an installation: samples beside bin
    makeFolder("usr/share/kestrin/samples");
    makeFolder("opt/bin");                     // an installation with settings of its own
    makeFolder("opt/share/kestrin/samples");
    writeFile("opt/bin/kestrin.ini", "[SYSTEM]\n");
    writeFile("plain", "a file where a folder should be: nothing can be written under it");

    const struct {
        const char* programFolder;
        bool kept;
        const char* samples;
    } cases[] = {{"copy", true, ""},
                 {"usr/bin", false, "usr/share/kestrin/samples"},
                 {"opt/bin", true, ""},
                 {"plain", false, "share/kestrin/samples"}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.programFolder);
        const WorkFolders folders = choose(c.programFolder);
        EXPECT_EQ(folders.settings, c.kept ? path(c.programFolder) : path("config/kestrin"));
        EXPECT_EQ(folders.scripts, c.kept ? path(c.programFolder) : path("data/kestrin"));
        EXPECT_EQ(folders.samples, c.kept ? QString() : path(c.samples));
    }
}

TEST_F(WorkFoldersTest, FirstStartSeedsTheSamplesAndLaterStartsKeepWhatTheUserHas)
{
    makeFolder("usr/bin");
    makeFolder("usr/share/kestrin/samples");
    writeFile("usr/share/kestrin/samples/hello.scr", "sample\r\n");
    writeFile("usr/share/kestrin/samples/iccid.dat", "data\r\n");
    const WorkFolders folders = choose("usr/bin");

    PrepareWorkFolders(folders);
    EXPECT_TRUE(QFileInfo(path("config/kestrin")).isDir());
    EXPECT_EQ(readFile("data/kestrin/hello.scr"), "sample\r\n");
    EXPECT_EQ(readFile("data/kestrin/iccid.dat"), "data\r\n");

    writeFile("data/kestrin/hello.scr", "edited\r\n");
    QFile::remove(path("data/kestrin/iccid.dat"));
    PrepareWorkFolders(folders);
    EXPECT_EQ(readFile("data/kestrin/hello.scr"), "edited\r\n");
    EXPECT_EQ(readFile("data/kestrin/iccid.dat"), "(none)") << "a sample the user removed stays removed";

    makeFolder("copy");
    PrepareWorkFolders(choose("copy"));
    EXPECT_TRUE(QDir(path("copy")).isEmpty()) << "a kept program folder gets nothing";
}

} // namespace
