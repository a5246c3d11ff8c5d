// Measures loading and saving a project of a million ratings against what
// expat and a plain write cost for the same bytes, in the same run, and ends
// with a table of ratios against their limits. Timings are reported, never
// asserted: the exit code says only whether the measurements could be made.

#include "bench/Baselines.h"
#include "bench/LargeProject.h"
#include "bench/OwnTime.h"
#include "bench/PeakMemory.h"
#include "bench/RecordBench.h"
#include "bench/RobustnessBench.h"
#include "bench/Summary.h"
#include "evaluation/Robustness.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

using namespace ponderix;
using namespace ponderix::bench;

namespace {

constexpr double kLoadLimit = 1.5;     // times the bare parse
constexpr double kSaveLimit = 2.0;     // times the plain write
constexpr double kPeakLimitMB = 400.0; // whole process, in MB of 10^6 bytes
constexpr int kRepetitions = 7;        // each a single load or save; the median counts

constexpr const char* kLoad = "load/readProjectFile";
constexpr const char* kBareParse = "load/expat_empty_handlers";
constexpr const char* kSave = "save/writeProjectFile";
constexpr const char* kPlainWrite = "save/fwrite_fdatasync_rename";

// Both file names have the same length, so the saved file and the prepared
// baseline bytes are the same size to the byte.
const QString kLoadFileName = QStringLiteral("large.pnx");
const QString kSaveFileName = QStringLiteral("saved.pnx");
const QString kBaselineFileName = QStringLiteral("plain.pnx");

struct Setup {
    QTemporaryDir folder; // in the system's temporary folder, one file system for every side
    Project project;
    QByteArray bytes; // the file as the writer makes it
    QDateTime modified = QDateTime(QDate(2024, 1, 2), QTime(3, 4, 5));

    QString path(const QString& name) const { return folder.filePath(name); }
};

// Keeps the median of each benchmark's repetitions for the closing table.
// The times are own times, which a busy machine does not stretch; what noise
// remains, such as a disk that flushes fast once, the median leaves out. The
// repetitions of all benchmarks run interleaved, so that a slow spell does
// not fall on one side of a ratio only.
class RecordingReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            // With manual timing the "real" time is the one each run set. A
            // benchmark run once has no aggregates: its one run counts.
            const bool counted =
                run.run_type == Run::RT_Aggregate ? run.aggregate_name == "median" : run.repetitions <= 1;
            if (counted && !run.error_occurred && run.iterations > 0)
                m_medianSeconds[run.run_name.function_name] =
                    run.real_accumulated_time / static_cast<double>(run.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::optional<double> milliseconds(const std::string& name) const
    {
        const auto found = m_medianSeconds.find(name);
        return found == m_medianSeconds.end() ? std::nullopt : std::optional<double>(1000.0 * found->second);
    }

private:
    std::map<std::string, double> m_medianSeconds;
};

bool prepare(Setup& setup)
{
    if (!setup.folder.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return false;
    }
    std::printf("generating %d x %d ratings in %s\n", kLargeOptionCount, kLargeCriterionCount,
                qPrintable(QDir::toNativeSeparators(setup.folder.path())));
    setup.project = largeProject();
    setup.bytes = projectFileBytes(setup.project, kLoadFileName, setup.modified);
    QFile file(setup.path(kLoadFileName));
    if (!file.open(QIODevice::WriteOnly) || file.write(setup.bytes) != setup.bytes.size() || !file.flush()) {
        std::fprintf(stderr, "cannot write the generated project\n");
        return false;
    }
    file.close();
    // One save and one load up front: a writer or reader that fails outright
    // would otherwise show up as a suspiciously good ratio.
    if (!writeProjectFile(setup.project, setup.path(kSaveFileName), setup.modified)
        || QFileInfo(setup.path(kSaveFileName)).size() != setup.bytes.size()) {
        std::fprintf(stderr, "the save does not write the expected bytes\n");
        return false;
    }
    ReadResult check = readProjectFile(setup.path(kLoadFileName));
    if (!check.ok() || !looksLikeLargeProject(check.project())) {
        std::fprintf(stderr, "the generated project does not load back\n");
        return false;
    }
    std::printf("project file: %.1f MB\n", static_cast<double>(setup.bytes.size()) / 1e6);
    return true;
}

// Each benchmark times its one piece of work itself, as own time (see
// OwnTimer): the checks around it, and freeing a loaded project, which
// happens after the user has it, stay out of the figure.
void loadProject(benchmark::State& state, const Setup& setup)
{
    const QString path = setup.path(kLoadFileName);
    for (auto _ : state) {
        const OwnTimer timer;
        ReadResult result = readProjectFile(path);
        state.SetIterationTime(timer.elapsedSeconds());
        if (!result.ok() || !looksLikeLargeProject(result.project())) {
            state.SkipWithError("the project did not load");
            break;
        }
    }
}

void parseBare(benchmark::State& state, const Setup& setup)
{
    const QString path = setup.path(kLoadFileName);
    for (auto _ : state) {
        const OwnTimer timer;
        const bool parsed = parseWithEmptyHandlers(path);
        state.SetIterationTime(timer.elapsedSeconds());
        if (!parsed) {
            state.SkipWithError("expat refused the file");
            break;
        }
    }
}

void saveProject(benchmark::State& state, const Setup& setup)
{
    const QString path = setup.path(kSaveFileName);
    for (auto _ : state) {
        const OwnTimer timer;
        const WriteResult result = writeProjectFile(setup.project, path, setup.modified);
        state.SetIterationTime(timer.elapsedSeconds());
        if (!result) {
            state.SkipWithError(qPrintable(result.error));
            break;
        }
    }
}

void writePlain(benchmark::State& state, const Setup& setup)
{
    const QString path = setup.path(kBaselineFileName);
    for (auto _ : state) {
        const OwnTimer timer;
        const bool written = writeDurably(path, setup.bytes);
        state.SetIterationTime(timer.elapsedSeconds());
        if (!written) {
            state.SkipWithError("the plain write failed");
            break;
        }
    }
}

// The analysis of the file just loaded, as ponderix-cli robustness and the
// robustness window run it after reading.
void analyseLargeProject(benchmark::State& state, const Setup& setup)
{
    for (auto _ : state) {
        const OwnTimer timer;
        const Robustness found = analyseRobustness(setup.project);
        state.SetIterationTime(timer.elapsedSeconds());
        if (found.chance.size() != static_cast<std::size_t>(kLargeOptionCount)) {
            state.SkipWithError("the analysis did not cover every option");
            break;
        }
    }
}

void registerBenchmarks(const Setup& setup)
{
    for (const auto& [name, function] :
         {std::pair{kLoad, &loadProject}, std::pair{kBareParse, &parseBare}, std::pair{kSave, &saveProject},
          std::pair{kPlainWrite, &writePlain}, std::pair{kRobustnessHuge, &analyseLargeProject}}) {
        benchmark::RegisterBenchmark(name, function, std::cref(setup))
            ->Unit(benchmark::kMillisecond)
            ->UseManualTime()
            ->Iterations(1)
            ->Repetitions(kRepetitions)
            ->DisplayAggregatesOnly(true)
            ->ComputeStatistics("min",
                                [](const std::vector<double>& runs) {
                                    return runs.empty() ? 0.0 : *std::min_element(runs.begin(), runs.end());
                                })
            ->ComputeStatistics("max", [](const std::vector<double>& runs) {
                return runs.empty() ? 0.0 : *std::max_element(runs.begin(), runs.end());
            });
    }
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], kLoadPeakArgument) == 0)
        return runLoadPeakChild(argv[2]);

    // Interleaving is on unless the command line says otherwise; a flag
    // given later wins.
    std::string interleaved = "--benchmark_enable_random_interleaving=true";
    std::vector<char*> arguments(argv, argv + argc);
    arguments.insert(arguments.begin() + 1, interleaved.data());
    arguments.push_back(nullptr);
    int argumentCount = argc + 1;
    benchmark::Initialize(&argumentCount, arguments.data());
    if (benchmark::ReportUnrecognizedArguments(argumentCount, arguments.data()))
        return 2;

    Setup setup;
    if (!prepare(setup))
        return 1;
    registerBenchmarks(setup);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const auto megabytes = [](long long kib) { return static_cast<double>(kib) * 1024 / 1e6; };
    const LoadPeak peak = measureLoadPeak(setup.path(kLoadFileName));
    if (peak.measured) {
        std::printf("\nload in a fresh process: resident %.1f MB before, peak %.1f MB%s\n",
                    megabytes(peak.residentBeforeKiB), megabytes(peak.peakKiB),
                    peak.loaded ? "" : " (the load FAILED)");
    }

    const std::string ratings = std::to_string(kLargeRatingCount / 1'000'000) + "M ratings";
    const auto seconds = [](std::optional<double> milliseconds) {
        return milliseconds ? std::optional<double>(*milliseconds / 1000) : std::nullopt;
    };
    printSummary(stdout,
                 {
                     {"load " + ratings, "ms", reporter.milliseconds(kLoad), reporter.milliseconds(kBareParse),
                      kLoadLimit},
                     {"save " + ratings, "ms", reporter.milliseconds(kSave), reporter.milliseconds(kPlainWrite),
                      kSaveLimit},
                     {"peak memory of the load", "MB",
                      peak.measured && peak.loaded ? std::optional<double>(megabytes(peak.peakKiB)) : std::nullopt,
                      std::nullopt, kPeakLimitMB},
                     {"robustness 10x40", "ms", reporter.milliseconds(kRobustnessRegular),
                      reporter.milliseconds(kOverviewRegular), kRobustnessRegularLimit},
                     {"robustness 26x300, spread 1", "ms", reporter.milliseconds(kRobustnessLargest),
                      reporter.milliseconds(kOverviewLargest), kRobustnessLargestLimit},
                     {"team of 20, 26x300", "ms", reporter.milliseconds(kTeamLargest),
                      reporter.milliseconds(kRobustnessSpread2), kTeamLimit},
                     {"robustness 1000x1000 vs load", "ms", reporter.milliseconds(kRobustnessHuge),
                      reporter.milliseconds(kLoad), kRobustnessHugeLimit},
                     {"robustness 1000x100, all tied", "ms", reporter.milliseconds(kRobustnessTied),
                      reporter.milliseconds(kRobustnessVaried), kRobustnessTiedLimit},
                     {"robustness page 1000x1000", "ms", reporter.milliseconds(kRobustnessPageHuge),
                      reporter.milliseconds(kOverviewHuge), kRobustnessPageHugeLimit},
                     {"decision record 26x300, HTML", "ms", reporter.milliseconds(kRecordHtml),
                      reporter.milliseconds(kRecordPieces), kRecordLimit},
                     {"decision record 26x300, PDF", "ms", reporter.milliseconds(kRecordPdf),
                      reporter.milliseconds(kRecordPieces), kRecordLimit},
                     {"decision record 1000x1000, HTML", "s", seconds(reporter.milliseconds(kRecordHtmlHuge)),
                      seconds(reporter.milliseconds(kRecordHtml)), kRecordHugeLimit},
                     {"decision record 1000x1000, PDF", "s", seconds(reporter.milliseconds(kRecordPdfHuge)),
                      seconds(reporter.milliseconds(kRecordPdf)), kRecordHugeLimit},
                 });
    std::printf("\ntimes: median of %d interleaved runs each, as own time (wall time less waits for a busy\n"
                "       processor; disk waits count); all files in one temporary folder.\n"
                "baselines: load = expat with empty handlers over the same file in the same 64 KiB reads;\n"
                "           save = one fwrite of the same bytes to a temporary file, fdatasync, rename,\n"
                "                  the steps QSaveFile takes.\n"
                "           robustness = the overview page of the same project, chart file included;\n"
                "           a tie of 1000x100 against the same matrix with varied values;\n"
                "           at 1000x1000 the analysis is against the load of the file above and the page\n"
                "           (drawn from a finished analysis) against the overview page;\n"
                "           decision record = the four page images at 2x as PNG files and the HTML report of\n"
                "                             the same project, written one after the other; median of 3 runs;\n"
                "                             at 1000x1000 (one run) the 26x300 record, its limit the growth\n"
                "                             of the matrix, a million cells against 7,800.\n",
                kRepetitions);
    benchmark::Shutdown();
    return 0;
}
