#pragma once

#include "bench/OwnTime.h"

#include <benchmark/benchmark.h>

namespace ponderix::bench {

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
