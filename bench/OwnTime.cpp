#include "bench/OwnTime.h"

#include <cstdio>
#include <ctime>

namespace ponderix::bench {

namespace {

long long wallNs()
{
    timespec now{};
    clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1'000'000'000LL + now.tv_nsec;
}

// The second figure of /proc/thread-self/schedstat: nanoseconds spent
// runnable but waiting on a run queue; 0 when the kernel does not say.
long long queuedNs()
{
    std::FILE* file = std::fopen("/proc/thread-self/schedstat", "r");
    if (!file)
        return 0;
    long long running = 0;
    long long queued = 0;
    const bool read = std::fscanf(file, "%lld %lld", &running, &queued) == 2;
    std::fclose(file);
    return read ? queued : 0;
}

} // namespace

OwnTimer::OwnTimer() : m_wallStartNs(wallNs()), m_queuedStartNs(queuedNs()) { }

double OwnTimer::elapsedSeconds() const
{
    const long long wall = wallNs() - m_wallStartNs;
    const long long queued = queuedNs() - m_queuedStartNs;
    return static_cast<double>(wall - (queued > 0 && queued < wall ? queued : 0)) / 1e9;
}

} // namespace ponderix::bench
