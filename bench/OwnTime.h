#pragma once

#include <benchmark/benchmark.h>

namespace ponderix::bench {

// Measures the time a piece of work takes on its own: wall time less the time
// the thread sat ready to run while other processes had the processors. Waits
// for the disk still count, as they should for a save; a busy machine, which
// would stretch the processor-bound side of a ratio far more than the disk-
// bound side, does not. Where the kernel keeps no scheduler statistics, this
// is plain wall time.
class OwnTimer final {
public:
    OwnTimer();
    double elapsedSeconds() const;

private:
    long long m_wallStartNs;
    long long m_queuedStartNs;
};

// Times `work(setup)` once per iteration on its own time. Without the chart
// component, or when the work made nothing, the benchmark is skipped with
// that reason, so that a failure cannot pass for speed.
template <typename Setup, typename Work>
void measureOwnTime(benchmark::State& state, const Setup& setup, const Work& work)
{
    if (!setup.charts) {
        state.SkipWithError("the chart component did not load");
        return;
    }
    for (auto _ : state) {
        const OwnTimer timer;
        const bool made = work(setup);
        state.SetIterationTime(timer.elapsedSeconds());
        if (!made) {
            state.SkipWithError("nothing was made");
            return;
        }
    }
}

} // namespace ponderix::bench
