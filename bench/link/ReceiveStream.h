#pragma once

#include <QString>

class BenchHost;
class CardSimulator;

struct ReceiveFigures {
    double seconds = 0;         // the whole stream, from the simulator's start
    double firstTenth = 0;      // seconds for the first tenth of the bytes
    double lastTenth = 0;       // and for the last
    double longestTimerGap = 0; // milliseconds between two runs of a 10 ms timer
    double cpuSeconds = 0;      // the process's processor time over the whole stream
    bool responseComplete = false; // every byte once, in order, in the response
    bool logComplete = false;      // and in the Active Log
    QString peakMemory;            // VmHWM once the stream is in
};

// Has the simulator send `total` bytes 00 01 .. FF 00 .. as fast as the line takes
// them, with no command in between, and follows them into the response and the
// Active Log while the window thread runs its event loop.
ReceiveFigures ReceiveStream(CardSimulator& simulator, BenchHost& host, qsizetype total);
