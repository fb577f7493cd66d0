#include "DeviceLink.h"

#include <QFile>
#include <cerrno>
#include <cstdio>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace {

// 0: nothing there; 1: a symbolic link; -1: another kind of file.
int LinkState(const QByteArray& path)
{
    struct stat status {};
    if (lstat(path.constData(), &status) != 0)
        return 0;
    return S_ISLNK(status.st_mode) ? 1 : -1;
}

} // namespace

void PointLink(const QString& link, const QString& target)
{
    const QByteArray linkName = QFile::encodeName(link);
    if (LinkState(linkName) < 0)
        throw std::system_error(EEXIST, std::generic_category(), link.toStdString() + " is not a symbolic link");
    const QByteArray temporary = linkName + ".new";
    RemoveLink(QFile::decodeName(temporary));
    if (::symlink(QFile::encodeName(target).constData(), temporary.constData()) != 0
        || std::rename(temporary.constData(), linkName.constData()) != 0)
        throw std::system_error(errno, std::generic_category(), "cannot make the link " + link.toStdString());
}

void RemoveLink(const QString& link)
{
    const QByteArray linkName = QFile::encodeName(link);
    if (LinkState(linkName) > 0)
        ::unlink(linkName.constData());
}
