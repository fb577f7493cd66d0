#pragma once

#include <QList>
#include <QString>
#include <optional>

// A testcase of a JUnit file as an independent reader, Debian's
// python3-junitparser, sees it.
struct JUnitCase {
    QString suite;
    QString name;
    QString outcome; // "passed", "failure", "skipped" or "error"
    QString message;
    QString text;      // the failure's
    QString systemOut;
};

inline constexpr char JUnitParserMissing[] =
    "python3-junitparser is not installed (Debian package python3-junitparser; scripts/setup.sh installs it)";

// The testcases of the file, in order; nothing when the reader is not installed.
// A file it cannot read fails the test that asked.
std::optional<QList<JUnitCase>> ReadJUnit(const QString& path);
