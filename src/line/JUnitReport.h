#pragma once

#include "line/CardResult.h"
#include "line/LineInterfaces.h"

#include <QByteArray>
#include <QStringList>

// What a JUnit report tells of the line besides its cards.
struct JUnitLine {
    QList<LineInterface> interfaces;
    QStringList itemNames; // each item as the command line gives it
    QString checkName;     // the --check file; empty without one
};

// The line as JUnit XML, which the test reporters of Jenkins, GitLab and GitHub
// read: a testsuite per interface, a testcase per card and item, named "card 3
// item 1: iccid.scr", and with --check one per card for the check. The item a
// run ended in has a failure holding its reason and what the run said on
// standard error; a check that differs holds the diff so; items after a
// failure are skipped. The card's transcript is the system-out of its failed
// testcase, or of its last.
QByteArray JUnitXml(const JUnitLine& line, const QList<CardResult>& results);
