// The robustness analysis next to the overview page of the same project: a
// matrix a person would make (10 options, 40 criteria) and the largest the
// editor allows (26 x 300) with ratings uncertain by one point.

#include "bench/RobustnessBench.h"
#include "bench/LargeProject.h"
#include "bench/MeasureOwnTime.h"
#include "bench/PageEnvironment.h"
#include "evaluation/ChartLibrary.h"
#include "evaluation/ResultPages.h"
#include "evaluation/Robustness.h"
#include "evaluation/Scoring.h"
#include "evaluation/Team.h"
#include "project/Project.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using namespace ponderix;
using ponderix::bench::generatedProject;

struct RobustnessSetup : ponderix::bench::PageEnvironment {
    RobustnessSetup() : PageEnvironment("robustness")
    {
        regular = generatedProject(10, 40);
        largest = generatedProject(kOptionLimit, kCriterionLimit);
        huge = generatedProject(ponderix::bench::kLargeOptionCount, ponderix::bench::kLargeCriterionCount);
        // The overview reads the stored scores, as after the results command.
        ComputeScores(regular);
        ComputeScores(largest);
        // Members who mostly agree: each moves every rating by a small
        // amount of their own, as real raters of one matrix would.
        for (int member = 0; member < ponderix::bench::kTeamMembers; ++member) {
            Project copy = largest;
            for (const Rating& rating : largest.ratings()) {
                const int shift = (member * 7 + rating.IndexOption * 3 + rating.IndexCriteria) % 5 - 2;
                copy.setValue(rating.IndexOption, rating.IndexCriteria, rating.Value + shift);
            }
            team.push_back({QStringLiteral("member%1.pnx").arg(member), std::move(copy)});
        }
        ComputeScores(huge);
        hugeFound = analyseRobustness(huge);
        varied = generatedProject(ponderix::bench::kTiedOptionCount, ponderix::bench::kTiedCriterionCount);
        tied = varied;
        for (const Rating& rating : varied.ratings())
            tied.setValue(rating.IndexOption, rating.IndexCriteria, kNeutralValue);
    }

    Project regular;
    Project largest;
    std::vector<TeamMember> team;
    Project huge;
    Robustness hugeFound;
    Project varied;
    Project tied;
};

RobustnessSetup& robustnessSetup()
{
    static RobustnessSetup setup;
    return setup;
}

void measure(benchmark::State& state, const std::function<bool(const RobustnessSetup&)>& work)
{
    ponderix::bench::measureOwnTime(state, robustnessSetup(), work);
}

bool analyse(const Project& project, int spread)
{
    const Robustness found = analyseRobustness(project, spread);
    benchmark::DoNotOptimize(found.chance.data());
    return found.chance.size() == project.options().size() && found.importance.size() == project.criteria().size();
}

bool combine(const std::vector<TeamMember>& team)
{
    const TeamResult found = analyseTeam(team);
    benchmark::DoNotOptimize(found.chance.data());
    return found.members.size() == team.size() && found.chance.size() == team.front().project.options().size();
}

bool overview(const RobustnessSetup& setup, const Project& project)
{
    return !buildOverviewPage(project, QStringLiteral("Benchmark"), setup.charts.get(), setup.folder.path()).isNull();
}

[[maybe_unused]] const bool registered = [] {
    using namespace ponderix::bench;
    ponderix::bench::configurePageBenchmark(
        benchmark::RegisterBenchmark(kRobustnessRegular, [](benchmark::State& state) {
            measure(state, [](const RobustnessSetup& s) { return analyse(s.regular, 1); });
        }));
    ponderix::bench::configurePageBenchmark(benchmark::RegisterBenchmark(kOverviewRegular, [](benchmark::State& state) {
        measure(state, [](const RobustnessSetup& s) { return overview(s, s.regular); });
    }));
    ponderix::bench::configurePageBenchmark(
        benchmark::RegisterBenchmark(kRobustnessLargest, [](benchmark::State& state) {
            measure(state, [](const RobustnessSetup& s) { return analyse(s.largest, 1); });
        }));
    ponderix::bench::configurePageBenchmark(benchmark::RegisterBenchmark(kOverviewLargest, [](benchmark::State& state) {
        measure(state, [](const RobustnessSetup& s) { return overview(s, s.largest); });
    }));
    ponderix::bench::configurePageBenchmark(
        benchmark::RegisterBenchmark(kRobustnessSpread2, [](benchmark::State& state) {
            measure(state, [](const RobustnessSetup& s) { return analyse(s.largest, 2); });
        }));
    ponderix::bench::configurePageBenchmark(benchmark::RegisterBenchmark(kRobustnessTied, [](benchmark::State& state) {
        measure(state, [](const RobustnessSetup& s) { return analyse(s.tied, 1); });
    }));
    ponderix::bench::configurePageBenchmark(
        benchmark::RegisterBenchmark(kRobustnessVaried, [](benchmark::State& state) {
            measure(state, [](const RobustnessSetup& s) { return analyse(s.varied, 1); });
        }));
    ponderix::bench::configurePageBenchmark(benchmark::RegisterBenchmark(kTeamLargest, [](benchmark::State& state) {
        measure(state, [](const RobustnessSetup& s) { return combine(s.team); });
    }));
    ponderix::bench::configurePageBenchmark(
        benchmark::RegisterBenchmark(kRobustnessPageHuge, [](benchmark::State& state) {
            measure(state, [](const RobustnessSetup& s) {
                return !buildRobustnessPage(s.huge, s.hugeFound, QStringLiteral("Benchmark")).isNull();
            });
        }));
    ponderix::bench::configurePageBenchmark(benchmark::RegisterBenchmark(kOverviewHuge, [](benchmark::State& state) {
        measure(state, [](const RobustnessSetup& s) { return overview(s, s.huge); });
    }));
    return true;
}();

} // namespace
