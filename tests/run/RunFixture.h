#pragma once

#include "cardsim/CardSimulator.h"

#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <memory>

// What a finished kestrin-run left.
struct RunResult {
    int exitCode = -1;
    QString out;
    QString err;
    QByteArray outBytes; // standard output as written (a pcap stream)
};

// kestrin-run, the built program, as a process against the card simulator on a
// pseudo-terminal, in a folder of its own holding the sample scripts.
class RunTest : public ::testing::Test {
protected:
    RunTest();

    // Runs kestrin-run with a short --idle, then `arguments`; the simulator is
    // its device unless they name one (-d given twice makes a production line).
    RunResult run(const QStringList& arguments);
    // Starts it so, standard input read from `input` and standard output piped to
    // `reader` when given; the test waits for it.
    std::unique_ptr<QProcess> start(const QStringList& arguments, const QString& input = QProcess::nullDevice(),
                                    QProcess* reader = nullptr);
    // Starts it with `arguments` alone.
    std::unique_ptr<QProcess> startProgram(const QStringList& arguments, const QString& input = QProcess::nullDevice(),
                                           QProcess* reader = nullptr);
    static RunResult finish(QProcess& process);

    QString path(const QString& name) const { return m_folder.filePath(name); }
    void writeFile(const QString& name, const QByteArray& content) const;
    QByteArray readFile(const QString& name) const;
    // Waits for a file to appear; false if it never does.
    bool waitForFile(const QString& name) const;

    CardSimulator m_simulator;

private:
    QTemporaryDir m_folder;
};

// The kestrin-run under test: beside the test program in a copy, else the build's.
QString RunProgram();

// Decoded bytes from hexadecimal text.
inline QByteArray Bytes(const char* hex) { return QByteArray::fromHex(hex); }
