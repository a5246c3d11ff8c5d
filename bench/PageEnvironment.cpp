#include "bench/PageEnvironment.h"

#include <algorithm>
#include <cstdio>
#include <vector>

namespace ponderix::bench {

PageEnvironment::PageEnvironment(const char* who)
{
    if (!QCoreApplication::instance()) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
            qputenv("QT_QPA_PLATFORM", "offscreen");
        static int argc = 1;
        static char name[] = "ponderix_bench";
        static char* argv[] = {name, nullptr};
        application = std::make_unique<QGuiApplication>(argc, argv);
    }
    ChartLibrary::LoadResult loaded = ChartLibrary::load(folder.path());
    charts = std::move(loaded.library);
    if (!charts)
        std::fprintf(stderr, "%s: the chart component did not load: %s\n", who, qPrintable(loaded.error));
}

void configurePageBenchmark(benchmark::internal::Benchmark* benchmark, int repetitions)
{
    benchmark->Unit(benchmark::kMillisecond)
        ->UseManualTime()
        ->Iterations(3)
        ->Repetitions(repetitions)
        ->DisplayAggregatesOnly(true)
        ->ComputeStatistics("min", [](const std::vector<double>& runs) {
            return runs.empty() ? 0.0 : *std::min_element(runs.begin(), runs.end());
        });
}

} // namespace ponderix::bench
