#pragma once

#include <QElapsedTimer>
#include <QString>

// A long data file's progress on the terminal: "<name>: line N of M", shown in
// place on standard error once the file has run for a while, renewed a few times
// a second, and erased when the file is done.
class DataFileProgress {
public:
    void Start(const QString& name, qsizetype lineCount);
    void Reached(qsizetype lineIndex);
    void Finish();

private:
    QString m_name;
    qsizetype m_lineCount = 0;
    QElapsedTimer m_running;
    qint64 m_shownAt = -1;
};
