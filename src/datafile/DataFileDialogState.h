#pragma once

#include "base/Dialogs.h"

#include <QString>

// What the open dialog of "Open Data File" is asked to show. It starts in the
// data folder C:/Cl (the user's home folder where there is none) offering
// "*.*", and once a file has been chosen it offers that file again.
class DataFileDialogState {
public:
    explicit DataFileDialogState(const QString& preferredFolder = QStringLiteral("C:/Cl"));

    FileDialogRequest Request() const;
    void Remember(const QString& chosenPath);

    // `preferred` when it is an existing folder given by an absolute path,
    // otherwise the user's home folder.
    static QString InitialFolder(const QString& preferred);

private:
    QString m_folder;
    QString m_fileName = QStringLiteral("*.*");
};
