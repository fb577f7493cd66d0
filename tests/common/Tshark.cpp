#include "common/Tshark.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

std::optional<TsharkReading> ReadWithTshark(const QString& path)
{
    const QString tshark = QStandardPaths::findExecutable(QStringLiteral("tshark"));
    if (tshark.isEmpty())
        return std::nullopt;
    const QTemporaryDir home;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("HOME"), home.path());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(tshark, {QStringLiteral("-r"), path, QStringLiteral("-V")});
    TsharkReading reading;
    if (process.waitForFinished(60'000))
        reading.exitCode = process.exitCode();
    reading.output = QString::fromUtf8(process.readAllStandardOutput());
    reading.errors = QString::fromUtf8(process.readAllStandardError());
    return reading;
}
