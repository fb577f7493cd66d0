#pragma once

#include <QList>
#include <QString>

// How one card's run went, as its supervisor saw it.
struct CardResult {
    QString interfaceLabel;
    int card = 0;             // its number in the line, from 1
    QString atr;              // "3F 65 ..."; empty when none came
    int status = -1;          // the run's exit status
    QString why;              // why the run ended early, in its words
    QList<double> itemStarts; // seconds from the start to each item it started
    double seconds = 0;       // from the start to the end
    QString messages;         // what it said on standard error
    QString transcript;       // kept for the JUnit report
};

// "passed", "differs", or what ended the run.
QString ResultText(const CardResult& result);

// The worst of the exit statuses: the highest.
int WorstStatus(const QList<CardResult>& results);
