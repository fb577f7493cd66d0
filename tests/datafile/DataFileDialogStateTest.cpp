#include "base/ProgramFolder.h"
#include "datafile/DataFileDialogState.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// An installed program keeps the samples in the user's data folder, which is hidden
// from a dialog that starts in the home folder.
TEST(DataFileDialogState, StartsInTheDataFolderOrElseWhereTheScriptsAndSamplesAre)
{
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("usr/bin"));
    QDir().mkpath(dir.filePath("usr/share/kestrin/samples"));
    SetProgramFolder(dir.filePath("usr/bin"));
    const QByteArray dataHome = qgetenv("XDG_DATA_HOME");
    qputenv("XDG_DATA_HOME", dir.filePath("data").toLocal8Bit());
    const QString samples = dir.filePath("data/kestrin");
    EXPECT_EQ(DataFileDialogState::InitialFolder(dir.path()), dir.path());
    EXPECT_EQ(DataFileDialogState::InitialFolder(dir.filePath("Cl")), samples);
    // A drive-letter path is relative here and never taken from the current folder.
    EXPECT_EQ(DataFileDialogState::InitialFolder("C:/Cl"), samples);
    EXPECT_EQ(DataFileDialogState().Request().directory, samples);
    qputenv("XDG_DATA_HOME", dataHome);
    SetProgramFolder({});

    const FileDialogRequest request = DataFileDialogState(dir.path()).Request();
    EXPECT_EQ(request.filter, "Data Files|*.*");
    EXPECT_EQ(request.directory, dir.path());
    EXPECT_EQ(request.fileName, "*.*");
}

TEST(DataFileDialogState, OffersTheLastFileChosen)
{
    QTemporaryDir dir;
    DataFileDialogState state(dir.path());
    state.Remember("/cards/sim/select.dat");
    FileDialogRequest request = state.Request();
    EXPECT_EQ(request.directory, "/cards/sim");
    EXPECT_EQ(request.fileName, "select.dat");
    EXPECT_EQ(request.filter, "Data Files|*.*");

    state.Remember("/cards/read.dat");
    request = state.Request();
    EXPECT_EQ(request.directory, "/cards");
    EXPECT_EQ(request.fileName, "read.dat");
}
