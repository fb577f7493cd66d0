#include "base/SaveFile.h"

#include "base/KestrinError.h"

#include <QDir>
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

} // namespace

void SaveFile(const QString& path, const QByteArray& contents)
{
    const QString shownPath = QDir::toNativeSeparators(path);
    // Written beside the old file and renamed over it, never in place: a save that
    // fails half-way must leave the old file whole.
    QSaveFile file(path);
    file.setDirectWriteFallback(false);
    if (!file.open(QIODevice::WriteOnly))
        throw FileError(QStringLiteral("Cannot create file \"%1\". %2").arg(shownPath, file.errorString()));
    if (!WriteAll(file, contents) || !file.commit())
        throw FileError(QStringLiteral("Cannot write file \"%1\". %2").arg(shownPath, file.errorString()));
}
