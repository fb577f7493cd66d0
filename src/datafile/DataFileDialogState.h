#pragma once

#include "base/Dialogs.h"

#include <QString>

// What the open dialog of "Open Data File" is asked to show. It starts in the
// data folder C:/Cl (where there is none, in the folder of the scripts and the
// sample data files) offering "*.*", and once a file has been chosen it offers
// that file again.
class DataFileDialogState {
public:
    explicit DataFileDialogState(const QString& preferredFolder = QStringLiteral("C:/Cl"));

    FileDialogRequest Request() const;
    void Remember(const QString& chosenPath);

    // `preferred` when it is an existing folder given by an absolute path,
    // otherwise the scripts folder (the per-user data folder when installed).
    static QString InitialFolder(const QString& preferred);

private:
    QString m_preferred;
    QString m_folder; // the folder of the file chosen last
    QString m_fileName = QStringLiteral("*.*");
};
