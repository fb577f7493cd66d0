#pragma once

#include <QString>

// The folder of the program's executable, without a trailing separator: it holds
// the settings file and the scripts. Tests point it elsewhere.
QString ProgramFolder();
void SetProgramFolder(const QString& folder);
