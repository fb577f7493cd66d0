#include "JUnitReader.h"

#include <QFileInfo>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <gtest/gtest.h>

namespace {

// Debian's own interpreter, which has Debian's modules.
const QString Python = QStringLiteral("/usr/bin/python3");

constexpr char Reader[] = R"(
import json, sys
from junitparser import JUnitXml
cases = []
for suite in JUnitXml.fromfile(sys.argv[1]):
    for case in suite:
        result = case.result[0] if case.result else None
        cases.append({"suite": suite.name, "name": case.name,
                      "outcome": type(result).__name__.lower() if result else "passed",
                      "message": (result.message or "") if result else "",
                      "text": (result.text or "") if result else "",
                      "out": case.system_out or ""})
print(json.dumps(cases))
)";

bool ParserInstalled()
{
    QProcess probe;
    probe.start(Python, {"-c", "import junitparser"});
    return probe.waitForFinished() && probe.exitStatus() == QProcess::NormalExit && probe.exitCode() == 0;
}

} // namespace

std::optional<QList<JUnitCase>> ReadJUnit(const QString& path)
{
    if (!QFileInfo(Python).isExecutable() || !ParserInstalled())
        return std::nullopt;
    QProcess reader;
    reader.start(Python, {"-c", Reader, path});
    EXPECT_TRUE(reader.waitForFinished(60000));
    EXPECT_EQ(reader.exitCode(), 0) << reader.readAllStandardError().toStdString();
    QList<JUnitCase> cases;
    for (const QJsonValue& value : QJsonDocument::fromJson(reader.readAllStandardOutput()).array()) {
        const QJsonObject object = value.toObject();
        cases.append({object["suite"].toString(), object["name"].toString(), object["outcome"].toString(),
                      object["message"].toString(), object["text"].toString(), object["out"].toString()});
    }
    return cases;
}
