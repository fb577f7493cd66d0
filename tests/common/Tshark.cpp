#include "common/Tshark.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

std::optional<::testing::AssertionResult> TsharkShows(const QString& path, std::initializer_list<const char*> texts)
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
    const bool finished = process.waitForFinished(60'000);
    const QString output = QString::fromUtf8(process.readAllStandardOutput());
    if (!finished || process.exitCode() != 0)
        return ::testing::AssertionFailure() << "tshark failed: " << process.readAllStandardError().toStdString();
    for (const char* text : texts) {
        if (!output.contains(QLatin1StringView(text)))
            return ::testing::AssertionFailure() << text << " is not in:\n" << output.toStdString();
    }
    return ::testing::AssertionSuccess();
}
