#pragma once

#include <QByteArray>
#include <QString>

// Writes `contents` as the whole file at `path`, replacing an existing one.
// Throws FileError naming the file and the system's reason when it cannot be
// written; a file that was there before is then left as it was.
void SaveFile(const QString& path, const QByteArray& contents);

// Throws the FileError that SaveFile would throw for want of a place to write
// `path` (a missing or read-only folder, a folder of that name), before anything
// is worth saving there. Leaves nothing behind.
void CheckCanSave(const QString& path);
