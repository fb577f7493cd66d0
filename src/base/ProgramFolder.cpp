#include "base/ProgramFolder.h"

#include <QCoreApplication>

namespace {
QString g_programFolder;
}

QString ProgramFolder()
{
    return g_programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : g_programFolder;
}

void SetProgramFolder(const QString& folder) { g_programFolder = folder; }
