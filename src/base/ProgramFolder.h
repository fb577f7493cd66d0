#pragma once

#include <QString>

// The folder of the program's executable, without a trailing separator. Tests
// point it elsewhere.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);

// Where the settings file (kestrin.ini) and the scripts and data files live.
//
// A program folder that holds kestrin.ini, or that can be written and is not part
// of an installation (a portable copy, the build, the demo), keeps both, as it
// always has. An installed program (one with share/kestrin/samples beside its
// bin folder) or one whose folder cannot be written keeps them per user: the
// settings in <configuration home>/kestrin, the scripts in <data home>/kestrin,
// the latter seeded from the installation's samples.
struct WorkFolders {
    QString settings;
    QString scripts;
    QString samples; // empty when the program folder is kept
};

WorkFolders ChooseWorkFolders(const QString& programFolder, const QString& configHome, const QString& dataHome);

// The choice for ProgramFolder() and this user's configuration and data homes
// (XDG_CONFIG_HOME, XDG_DATA_HOME, by default ~/.config and ~/.local/share).
WorkFolders CurrentWorkFolders();
QString SettingsFolder();
QString ScriptsFolder();

// Makes per-user folders that do not exist yet. A scripts folder made here
// receives a copy of every sample; an existing one is left as the user keeps it.
void PrepareWorkFolders(const WorkFolders& folders);
