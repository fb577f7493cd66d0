#include "datafile/DataFileDialogState.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(DataFileDialogState, StartsInTheDataFolderOrElseTheHomeFolder)
{
    QTemporaryDir dir;
    EXPECT_EQ(DataFileDialogState::InitialFolder(dir.path()), dir.path());
    EXPECT_EQ(DataFileDialogState::InitialFolder(dir.filePath("Cl")), QDir::homePath());
    // A drive-letter path is relative here and never taken from the current folder.
    EXPECT_EQ(DataFileDialogState::InitialFolder("C:/Cl"), QDir::homePath());

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
