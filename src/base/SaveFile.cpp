#include "base/SaveFile.h"

#include "base/KestrinError.h"

#include <QDir>
#include <QFileInfo>
#include <QSaveFile>

namespace {

// A short write is retried, so that a full disk shows as the system's error
// rather than as a file cut short.
bool WriteAll(QSaveFile& file, const QByteArray& data)
{
    for (qsizetype written = 0; written < data.size();) {
        const qint64 count = file.write(data.constData() + written, data.size() - written);
        if (count <= 0)
            return false;
        written += count;
    }
    return true;
}

FileError CannotCreate(const QString& path, const QString& reason)
{
    return FileError(QStringLiteral("Cannot create file \"%1\". %2").arg(QDir::toNativeSeparators(path), reason));
}

// Written beside the old file and renamed over it, never in place: a save that
// fails half-way must leave the old file whole.
void OpenBeside(QSaveFile& file)
{
    file.setDirectWriteFallback(false);
    if (QFileInfo(file.fileName()).isDir())
        throw CannotCreate(file.fileName(), QStringLiteral("It is a folder."));
    if (!file.open(QIODevice::WriteOnly))
        throw CannotCreate(file.fileName(), file.errorString());
}

} // namespace

void CheckCanSave(const QString& path)
{
    QSaveFile file(path);
    OpenBeside(file);
    file.cancelWriting();
}

void SaveFile(const QString& path, const QByteArray& contents)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    QSaveFile file(path);
    OpenBeside(file);
    if (!WriteAll(file, contents) || !file.commit())
        throw FileError(QStringLiteral("Cannot write file \"%1\". %2").arg(shownPath, file.errorString()));
}
