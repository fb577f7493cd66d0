#include "datafile/DataFileDialogState.h"

#include "base/ProgramFolder.h"

#include <QFileInfo>

DataFileDialogState::DataFileDialogState(const QString& preferredFolder) : m_preferred(preferredFolder) {}

// The scripts folder is looked up when asked for: where it is depends on the
// program folder, which is settled after the window is made.
FileDialogRequest DataFileDialogState::Request() const
{
    FileDialogRequest request;
    request.filter = QStringLiteral("Data Files|*.*");
    request.directory = m_folder.isEmpty() ? InitialFolder(m_preferred) : m_folder;
    request.fileName = m_fileName;
    return request;
}

void DataFileDialogState::Remember(const QString& chosenPath)
{
    const QFileInfo chosen(chosenPath);
    m_folder = chosen.absolutePath();
    m_fileName = chosen.fileName();
}

QString DataFileDialogState::InitialFolder(const QString& preferred)
{
    // A relative "C:/Cl" on a platform without drive letters would name a folder
    // under whatever the current folder happens to be; only an absolute one counts.
    const QFileInfo folder(preferred);
    return folder.isAbsolute() && folder.isDir() ? folder.absoluteFilePath() : ScriptsFolder();
}
