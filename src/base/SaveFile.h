#pragma once

#include <QByteArray>
#include <QString>

// Writes `contents` as the whole file at `path`, replacing an existing one.
// Throws FileError naming the file and the system's reason when it cannot be
// written; a file that was there before is then left as it was.
void SaveFile(const QString& path, const QByteArray& contents);
