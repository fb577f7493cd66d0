#include "base/RuntimeFolder.h"

#include <QDir>
#include <QFile>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// The name Qt gives the folder: "runtime-" and the user's name (else number).
QString FallbackFolder()
{
    const passwd* user = getpwuid(geteuid());
    const QString name = user ? QString::fromLocal8Bit(user->pw_name) : QString::number(geteuid());
    return QDir::tempPath() + QStringLiteral("/runtime-") + name;
}

// A real folder (no link), the user's own, that nobody else may enter.
bool IsPrivateFolder(const QByteArray& path)
{
    struct stat status {};
    return lstat(path.constData(), &status) == 0 && S_ISDIR(status.st_mode) && status.st_uid == geteuid()
        && (status.st_mode & 0777) == 0700;
}

} // namespace

void SettleRuntimeFolder()
{
    if (!qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR"))
        return;
    const QByteArray folder = QFile::encodeName(FallbackFolder());
    mkdir(folder.constData(), 0700); // an existing one is judged as it is
    if (IsPrivateFolder(folder))
        qputenv("XDG_RUNTIME_DIR", folder);
}
