#pragma once

#include "evaluation/ChartLibrary.h"

#include <benchmark/benchmark.h>

#include <QGuiApplication>
#include <QTemporaryDir>

#include <memory>

namespace ponderix::bench {

// What drawing pages needs: a GUI application for the text, and the chart
// component loaded into a private folder as start-up does. `who` names the
// benchmark in the line that says the component did not load.
struct PageEnvironment {
    explicit PageEnvironment(const char* who);

    std::unique_ptr<QGuiApplication> application;
    QTemporaryDir folder;
    std::unique_ptr<ChartLibrary> charts;
};

// Page figures are timed by hand (own time), three iterations a run,
// `repetitions` runs, and reported by their minimum beside the median.
void configurePageBenchmark(benchmark::internal::Benchmark* benchmark, int repetitions = 7);

} // namespace ponderix::bench
