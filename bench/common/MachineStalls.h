#pragma once

#include <chrono>
#include <memory>
#include <vector>

// Times when a processor of the machine stood still. On a virtual machine the
// host can take a processor away for a while (here for about 100 ms at a time,
// a host's quota period), and whatever thread runs on it stops, while its
// processor clock may still run on. One thread per processor, kept there,
// sleeps 1 ms at a time and sees such a stretch as a late wake-up; the
// milliseconds beyond 5 ms late are added up, so a figure such as the window's
// longest wait can leave them out.
class MachineStalls {
public:
    MachineStalls();
    ~MachineStalls();
    MachineStalls(const MachineStalls&) = delete;
    MachineStalls& operator=(const MachineStalls&) = delete;

    // Milliseconds each processor stood still since this object was made, a
    // stretch that its sleeper has not woken from yet included.
    std::vector<double> TotalsMs() const;
    // The longest single stretch of any processor, in milliseconds.
    double LongestMs() const;

private:
    class Sleeper;
    std::vector<std::unique_ptr<Sleeper>> m_sleepers;
};

// The most that any one processor stood still between two readings of TotalsMs().
double MostStoodStillMs(const std::vector<double>& before, const std::vector<double>& after);
