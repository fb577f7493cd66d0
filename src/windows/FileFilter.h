#pragma once

#include <QStringList>

// Converts a file filter written as "Description|pattern" pairs ("Log File|*.log",
// "Scripts|*.scr;*.txt|All files|*.*") into the name filters of Qt's file dialog
// ("Log File (*.log)"). A description without its pattern matches every file.
QStringList NameFilters(const QString& filter);
