// Measures loading and saving a project of a million ratings against what
// expat and a plain write cost for the same bytes, in the same run, and ends
// with a table of ratios against their limits. Timings are reported, never
// asserted: the exit code says only whether the measurements could be made.

#include "bench/Baselines.h"
#include "bench/LargeProject.h"
#include "bench/PeakMemory.h"
#include "bench/Summary.h"
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

using namespace ponderix;
using namespace ponderix::bench;

namespace {

constexpr double kLoadLimit = 1.5;       // times the bare parse
constexpr double kSaveLimit = 2.0;       // times the plain write
constexpr double kPeakLimitMB = 400.0;   // whole process, in MB of 10^6 bytes
constexpr int kRepetitions = 5;          // each a single load or save; the median counts

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
class RecordingReporter final : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median" && !run.error_occurred
                && run.iterations > 0)
                m_seconds[run.run_name.function_name] = run.real_accumulated_time / static_cast<double>(run.iterations);
        }
        ConsoleReporter::ReportRuns(runs);
    }

    std::optional<double> milliseconds(const std::string& name) const
    {
        const auto found = m_seconds.find(name);
        return found == m_seconds.end() ? std::nullopt : std::optional<double>(found->second * 1000.0);
    }

private:
    std::map<std::string, double> m_seconds;
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

void loadProject(benchmark::State& state, const Setup& setup)
{
    const QString path = setup.path(kLoadFileName);
    for (auto _ : state) {
        std::optional<ReadResult> result;
        result.emplace(readProjectFile(path));
        state.PauseTiming();
        const bool ok = result->ok() && looksLikeLargeProject(result->project());
        // Freeing a million comments happens after the user has the project;
        // it is not part of the load.
        result.reset();
        state.ResumeTiming();
        if (!ok) {
            state.SkipWithError("the project did not load");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * setup.bytes.size());
}

void parseBare(benchmark::State& state, const Setup& setup)
{
    const QString path = setup.path(kLoadFileName);
    for (auto _ : state) {
        if (!parseWithEmptyHandlers(path)) {
            state.SkipWithError("expat refused the file");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * setup.bytes.size());
}

void saveProject(benchmark::State& state, const Setup& setup)
{
    const QString path = setup.path(kSaveFileName);
    for (auto _ : state) {
        const WriteResult result = writeProjectFile(setup.project, path, setup.modified);
        if (!result) {
            state.SkipWithError(qPrintable(result.error));
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * setup.bytes.size());
}

void writePlain(benchmark::State& state, const Setup& setup)
{
    const QString path = setup.path(kBaselineFileName);
    for (auto _ : state) {
        if (!writeDurably(path, setup.bytes)) {
            state.SkipWithError("the plain write failed");
            break;
        }
    }
    state.SetBytesProcessed(state.iterations() * setup.bytes.size());
}

void registerBenchmarks(const Setup& setup)
{
    const auto configure = [](benchmark::internal::Benchmark* benchmark) {
        // Wall time: the save waits for the disk, which CPU time would hide.
        benchmark->Unit(benchmark::kMillisecond)
            ->UseRealTime()
            ->Iterations(1)
            ->Repetitions(kRepetitions)
            ->DisplayAggregatesOnly(true);
    };
    configure(benchmark::RegisterBenchmark(kLoad, loadProject, std::cref(setup)));
    configure(benchmark::RegisterBenchmark(kBareParse, parseBare, std::cref(setup)));
    configure(benchmark::RegisterBenchmark(kSave, saveProject, std::cref(setup)));
    configure(benchmark::RegisterBenchmark(kPlainWrite, writePlain, std::cref(setup)));
}

} // namespace

int main(int argc, char** argv)
{
    if (argc == 3 && std::strcmp(argv[1], kLoadPeakArgument) == 0)
        return runLoadPeakChild(argv[2]);

    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 2;

    Setup setup;
    if (!prepare(setup))
        return 1;
    registerBenchmarks(setup);
    RecordingReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    const LoadPeak peak = measureLoadPeak(setup.path(kLoadFileName));
    if (peak.measured) {
        std::printf("\nload in a fresh process: resident %.1f MB before, peak %.1f MB%s\n",
                    static_cast<double>(peak.residentBeforeKiB) * 1024 / 1e6,
                    static_cast<double>(peak.peakKiB) * 1024 / 1e6, peak.loaded ? "" : " (the load FAILED)");
    }

    const auto megabytes = [](long long kib) { return static_cast<double>(kib) * 1024 / 1e6; };
    const std::string ratings = std::to_string(kLargeRatingCount / 1'000'000) + "M ratings";
    printSummary(stdout, {
        {"load " + ratings, "ms", reporter.milliseconds(kLoad), reporter.milliseconds(kBareParse), kLoadLimit},
        {"save " + ratings, "ms", reporter.milliseconds(kSave), reporter.milliseconds(kPlainWrite), kSaveLimit},
        {"peak memory of the load", "MB",
         peak.measured && peak.loaded ? std::optional<double>(megabytes(peak.peakKiB)) : std::nullopt,
         std::nullopt, kPeakLimitMB},
    });
    std::printf("\nbaselines: load = expat with empty handlers over the same file in the same 64 KiB reads;\n"
                "           save = one fwrite of the same bytes to a temporary file, fdatasync, rename,\n"
                "                  the steps QSaveFile takes; all files in one temporary folder.\n");
    benchmark::Shutdown();
    return 0;
}
