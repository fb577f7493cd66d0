#include "ProcessFigures.h"

#include <QDir>
#include <QFile>
#include <QStringList>
#include <malloc.h>
#include <sys/resource.h>
#include <unistd.h>

namespace {

QByteArray ReadProcFile(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

qint64 PssKilobytes(const QString& pid)
{
    for (const QByteArray& line : ReadProcFile(QStringLiteral("/proc/%1/smaps_rollup").arg(pid)).split('\n'))
        if (line.startsWith("Pss:"))
            return line.mid(4).trimmed().split(' ').value(0).toLongLong();
    return 0;
}

// The parent's pid, field 4 of /proc/PID/stat (after the name in parentheses).
QByteArray ParentPid(const QString& pid)
{
    const QByteArray stat = ReadProcFile(QStringLiteral("/proc/%1/stat").arg(pid));
    return stat.mid(stat.lastIndexOf(')') + 2).split(' ').value(1);
}

double Seconds(const timeval& time) { return double(time.tv_sec) + double(time.tv_usec) / 1e6; }

} // namespace

double ProcessCpuSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return Seconds(usage.ru_utime) + Seconds(usage.ru_stime);
}

double ThreadCpuSeconds(const QString& name)
{
    const QString tasks = QStringLiteral("/proc/self/task");
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        if (ReadProcFile(tasks + '/' + task + "/comm").trimmed() != name.toUtf8())
            continue;
        // After the name in parentheses: state is field 3, utime and stime fields 14 and 15.
        const QByteArray stat = ReadProcFile(tasks + '/' + task + "/stat");
        const QList<QByteArray> fields = stat.mid(stat.lastIndexOf(')') + 2).split(' ');
        if (fields.size() > 12)
            return (fields[11].toDouble() + fields[12].toDouble()) / double(sysconf(_SC_CLK_TCK));
    }
    return -1;
}

QMap<QString, double> ThreadCpuSecondsByName()
{
    QMap<QString, double> seconds;
    const QString tasks = QStringLiteral("/proc/self/task");
    const QString mainTask = QString::number(getpid());
    for (const QString& task : QDir(tasks).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString name = task == mainTask ? QStringLiteral("main")
                                              : QString::fromUtf8(ReadProcFile(tasks + '/' + task + "/comm").trimmed());
        // The first figure is the time spent on a processor, in nanoseconds.
        const QByteArray runNs = ReadProcFile(tasks + '/' + task + "/schedstat").split(' ').value(0);
        seconds[name] += runNs.toDouble() / 1e9;
    }
    return seconds;
}

QString MemoryFigure(const QString& key)
{
    for (const QByteArray& line : ReadProcFile(QStringLiteral("/proc/self/status")).split('\n')) {
        if (line.startsWith(key.toLatin1() + ':'))
            return QString::fromLatin1(line.mid(key.size() + 1).trimmed());
    }
    return QStringLiteral("unknown");
}

qint64 MemoryKilobytes(const QString& key)
{
    bool ok = false;
    const qint64 kilobytes = MemoryFigure(key).section(u' ', 0, 0).toLongLong(&ok);
    return ok ? kilobytes : -1;
}

qint64 FamilyPssKilobytes(qint64 pid)
{
    const QString parent = QString::number(pid);
    qint64 kilobytes = PssKilobytes(parent);
    for (const QString& process : QDir(QStringLiteral("/proc")).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (process.front().isDigit() && ParentPid(process) == parent.toLatin1())
            kilobytes += PssKilobytes(process);
    return kilobytes;
}

qint64 HeapBytesInUse()
{
    const struct mallinfo2 info = mallinfo2();
    return qint64(info.uordblks + info.hblkhd);
}
