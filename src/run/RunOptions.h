#pragma once

#include "base/KestrinError.h"

#include <QList>
#include <QString>
#include <QStringList>
#include <array>
#include <optional>

// One thing to run, in command-line order.
struct RunItem {
    enum class Kind { Script, DataFile, Line };
    Kind kind = Kind::Line;
    QString text; // the file's path, or the hexadecimal command line
};

// What kestrin-run's command line asks for. Empty texts are options not given.
struct RunOptions {
    QList<RunItem> items;
    QStringList devices; // -d in order: several make a production line; none, COM of kestrin.ini
    QString byteDelay;
    QString commandDelay;
    std::array<std::optional<QString>, 5> parameters; // P1 .. P5
    std::optional<bool> promptAnswer;                 // --yes, --no
    QString logPath;
    QString recordPath;
    QString checkPath;
    QString tracePath;
    QString pcapPath; // "-": a stream on standard output, in place of the log
    int baud = 0;     // the rate to switch to after the start; 0 keeps 9600
    int idleMs = 200;
    int answerTimeoutMs = 10000;
    std::optional<double> timeoutSeconds;
    bool quiet = false;
    // The production line: card after card in each PC/SC reader, up to a number
    // of cards in all; a JUnit report of every card.
    bool eachCard = false;
    std::optional<int> cards;
    QString junitPath;
    int statusFd = -1; // where a supervising program reads the run's status lines
};

struct CommandLine {
    enum class Action { Run, Help, Version };
    Action action = Action::Run;
    RunOptions options;
};

// A command line that asks for nothing sensible.
class UsageError : public KestrinError {
public:
    using KestrinError::KestrinError;
};

// Reads the arguments after the program's name. Throws UsageError.
CommandLine ParseCommandLine(const QStringList& arguments);

// Whether --pcap streams to standard output, which then carries no Active Log.
bool PcapStreams(const RunOptions& options);

// Throws the FileError of the first file the run is to write at its end (--log,
// --record, --trace, --pcap) that could not be created there, so that a run
// fails before it changes the card rather than after; a UsageError for a pcap
// stream on a terminal.
void CheckOutputFiles(const RunOptions& options);

// The --help text.
QString UsageText();
