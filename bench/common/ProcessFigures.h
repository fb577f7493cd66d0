#pragma once

#include <QMap>
#include <QString>

// Processor seconds (user and system) of the whole process.
double ProcessCpuSeconds();

// Processor seconds of this process's thread with the given name; -1 when none has it.
double ThreadCpuSeconds(const QString& name);

// Processor seconds of each of this process's threads by name, to the
// nanosecond; the main thread is named "main", nameless threads by their number.
QMap<QString, double> ThreadCpuSecondsByName();

// A figure of /proc/self/status, such as "VmHWM" (the peak resident size).
QString MemoryFigure(const QString& key);

// The same figure in kilobytes; -1 when the system does not give it.
qint64 MemoryKilobytes(const QString& key);

// What a process and its children cost together in memory, each shared page
// shared out among those that map it (the proportional set size), in kilobytes.
qint64 FamilyPssKilobytes(qint64 pid);

// Bytes the heap has handed out and not yet got back.
qint64 HeapBytesInUse();
