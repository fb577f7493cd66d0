#pragma once

#include <QString>

// Processor seconds (user and system) of the whole process.
double ProcessCpuSeconds();

// Processor seconds of this process's thread with the given name; -1 when none has it.
double ThreadCpuSeconds(const QString& name);

// A figure of /proc/self/status, such as "VmHWM" (the peak resident size).
QString MemoryFigure(const QString& key);

// The same figure in kilobytes; -1 when the system does not give it.
qint64 MemoryKilobytes(const QString& key);

// Bytes the heap has handed out and not yet got back.
qint64 HeapBytesInUse();
