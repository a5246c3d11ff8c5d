#include "bench/RecordBench.h"
#include "base/AtomicFile.h"
#include "base/ImageWriters.h"
#include "bench/LargeProject.h"
#include "bench/MeasureOwnTime.h"
#include "bench/PageEnvironment.h"
#include "evaluation/ResultPages.h"
#include "evaluation/Robustness.h"
#include "evaluation/Scoring.h"
#include "export/DecisionRecord.h"
#include "export/ReportBuilder.h"
#include "project/Project.h"
#include "project/ProjectReader.h"

#include <QDateTime>

#include <benchmark/benchmark.h>

#include <functional>

namespace {

using namespace ponderix;

const QString kBanner = QStringLiteral("Benchmark");

struct RecordSetup : ponderix::bench::PageEnvironment {
    RecordSetup() : PageEnvironment("record")
    {
        writeDetailBackground(folder.path());
        project = ponderix::bench::generatedProject(kOptionLimit, kCriterionLimit);
        ComputeScores(project);
    }

    QString path(const char* name) const { return folder.filePath(QString::fromLatin1(name)); }

    Project project;
};

RecordSetup& recordSetup()
{
    static RecordSetup setup;
    return setup;
}

// Made only when its benchmarks run: a million ratings take a while.
const Project& hugeProject()
{
    static const Project project = [] {
        Project made = ponderix::bench::generatedProject(kReadableOptionLimit, kReadableCriterionLimit);
        ComputeScores(made);
        return made;
    }();
    return project;
}

bool writePage(const QImage& page, const RecordSetup& setup, const char* name)
{
    return static_cast<bool>(writeImageFile(page, setup.path(name), ImageFormat::Png));
}

// What the record replaces: each page built and written as the image export
// writes it, and the report as the report window saves it. The pages are
// drawn at 2x, as the record's own are, so both sides draw the same pixels
// a page.
bool writePiecesByHand(const RecordSetup& s)
{
    const Project& project = s.project;
    constexpr qreal kScale = 2.0;
    return writePage(buildOverviewPage(project, kBanner, s.charts.get(), s.folder.path(), kScale), s, "overview.png")
           && writePage(buildDetailPage(project, 0, kBanner, s.charts.get(), s.folder.path(), kScale), s, "detail.png")
           && writePage(buildProfilePage(project, kBanner, kScale), s, "profile.png")
           && writePage(buildRobustnessPage(project, analyseRobustness(project), kBanner, kScale), s, "robustness.png")
           && writeFileAtomically(s.path("report.html"), buildReport(project).document);
}

bool writeRecordOf(const Project& project, const RecordSetup& s, const char* name)
{
    const RecordSource source{project,
                              kBanner,
                              QStringLiteral("Benchmark.pnx"),
                              QDateTime::currentDateTime(),
                              s.charts.get(),
                              s.folder.path()};
    return static_cast<bool>(writeRecordFile(s.path(name), source));
}

bool writeRecord(const RecordSetup& s, const char* name)
{
    return writeRecordOf(s.project, s, name);
}

void measure(benchmark::State& state, const std::function<bool(const RecordSetup&)>& work)
{
    ponderix::bench::measureOwnTime(state, recordSetup(), work);
}

[[maybe_unused]] const bool registered = [] {
    using namespace ponderix::bench;
    // Seconds each: three runs of three are enough for a median.
    constexpr int kRepetitions = 3;
    configurePageBenchmark(benchmark::RegisterBenchmark(kRecordPieces,
                                                        [](benchmark::State& state) {
                                                            measure(state, writePiecesByHand);
                                                        }),
                           kRepetitions);
    configurePageBenchmark(benchmark::RegisterBenchmark(kRecordHtml,
                                                        [](benchmark::State& state) {
                                                            measure(state, [](const RecordSetup& s) {
                                                                return writeRecord(s, "record.html");
                                                            });
                                                        }),
                           kRepetitions);
    configurePageBenchmark(benchmark::RegisterBenchmark(kRecordPdf,
                                                        [](benchmark::State& state) {
                                                            measure(state, [](const RecordSetup& s) {
                                                                return writeRecord(s, "record.pdf");
                                                            });
                                                        }),
                           kRepetitions);
    // One run each: the figure is for information and a proportion, not a
    // fine comparison.
    const auto once = [](benchmark::internal::Benchmark* benchmark) {
        benchmark->Unit(benchmark::kSecond)->UseManualTime()->Iterations(1)->Repetitions(1);
    };
    once(benchmark::RegisterBenchmark(kRecordHtmlHuge, [](benchmark::State& state) {
        measure(state, [](const RecordSetup& s) { return writeRecordOf(hugeProject(), s, "huge.html"); });
    }));
    once(benchmark::RegisterBenchmark(kRecordPdfHuge, [](benchmark::State& state) {
        measure(state, [](const RecordSetup& s) { return writeRecordOf(hugeProject(), s, "huge.pdf"); });
    }));
    return true;
}();

} // namespace
