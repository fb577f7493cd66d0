#include "MachineStalls.h"

#include <algorithm>
#include <mutex>
#include <pthread.h>
#include <sched.h>
#include <thread>

using namespace std::chrono;

namespace {
constexpr auto Nap = 1ms;
constexpr auto Tolerance = 5ms; // ordinary scheduling delays on a busy machine
using Clock = steady_clock;

microseconds LateBy(Clock::time_point napStart, Clock::time_point now)
{
    const auto late = now - napStart - Nap;
    return late > Tolerance ? duration_cast<microseconds>(late) : microseconds{0};
}
} // namespace

class MachineStalls::Sleeper {
public:
    explicit Sleeper(int processor)
    {
        m_thread = std::thread([this] { Run(); });
        cpu_set_t one;
        CPU_ZERO(&one);
        CPU_SET(processor, &one);
        pthread_setaffinity_np(m_thread.native_handle(), sizeof one, &one);
    }
    ~Sleeper()
    {
        {
            const std::lock_guard lock(m_mutex);
            m_stop = true;
        }
        m_thread.join();
    }
    microseconds Total() const
    {
        const std::lock_guard lock(m_mutex);
        return m_total + LateBy(m_napStart, Clock::now());
    }
    microseconds Longest() const
    {
        const std::lock_guard lock(m_mutex);
        return m_longest;
    }

private:
    void Run()
    {
        std::unique_lock lock(m_mutex);
        while (!m_stop) {
            lock.unlock();
            std::this_thread::sleep_for(Nap);
            lock.lock();
            const microseconds late = LateBy(m_napStart, Clock::now());
            m_total += late;
            m_longest = std::max(m_longest, late);
            m_napStart = Clock::now();
        }
    }

    mutable std::mutex m_mutex;
    bool m_stop = false;
    Clock::time_point m_napStart = Clock::now();
    microseconds m_total{0};
    microseconds m_longest{0};
    std::thread m_thread;
};

MachineStalls::MachineStalls()
{
    const int processors = int(std::max(1u, std::thread::hardware_concurrency()));
    for (int processor = 0; processor < processors; ++processor)
        m_sleepers.push_back(std::make_unique<Sleeper>(processor));
}

MachineStalls::~MachineStalls() = default;

std::vector<double> MachineStalls::TotalsMs() const
{
    std::vector<double> totals;
    for (const auto& sleeper : m_sleepers)
        totals.push_back(double(sleeper->Total().count()) / 1e3);
    return totals;
}

double MachineStalls::LongestMs() const
{
    microseconds longest{0};
    for (const auto& sleeper : m_sleepers)
        longest = std::max(longest, sleeper->Longest());
    return double(longest.count()) / 1e3;
}

double MostStoodStillMs(const std::vector<double>& before, const std::vector<double>& after)
{
    double most = 0;
    for (size_t i = 0; i < std::min(before.size(), after.size()); ++i)
        most = std::max(most, after[i] - before[i]);
    return most;
}
