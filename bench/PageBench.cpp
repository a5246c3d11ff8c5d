// The result pages are built while the user waits: the overview and profile
// when their window opens, a detail page on every tab change. Each figure is
// the whole build, chart files through the temporary folder included, next to
// the cost of encoding one 700 x 1000 RGB page as PNG at zlib's default level,
// measured in the same repetition. The "vs_png" column is that ratio; the
// pages should stay within 3 times it.

#include "bench/LargeProject.h"
#include "bench/OwnTime.h"
#include "bench/PageEnvironment.h"
#include "evaluation/ChartLibrary.h"
#include "evaluation/ResultPages.h"
#include "evaluation/Scoring.h"
#include "project/Project.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

namespace {

using namespace ponderix;
using ponderix::bench::generatedProject;

constexpr int kOptions = 26;
constexpr int kCriteria = 38;
constexpr int kManyCriteria = 300;
constexpr double kLimit = 3.0;

// Everything the pages need, made once: a GUI application for the text, the
// chart component loaded into a private folder as start-up does, the projects
// and the picture the baseline encodes.
struct PageSetup : ponderix::bench::PageEnvironment {
    PageSetup() : PageEnvironment("pages")
    {
        writeDetailBackground(folder.path());
        regular = generatedProject(kOptions, kCriteria);
        wide = generatedProject(kOptions, kManyCriteria);
        baselinePicture = buildProfilePage(wide, QStringLiteral("Benchmark")).convertToFormat(QImage::Format_RGB888);
    }

    Project regular;
    Project wide;
    QImage baselinePicture; // 700 x 1000, a real page
};

PageSetup& pageSetup()
{
    static PageSetup setup;
    return setup;
}

void appendBytes(png_structp png, png_bytep data, png_size_t length)
{
    auto* bytes = static_cast<std::vector<unsigned char>*>(png_get_io_ptr(png));
    bytes->insert(bytes->end(), data, data + length);
}

void failWithLongJump(png_structp png, png_const_charp)
{
    png_longjmp(png, 1);
}

// The baseline: the picture encoded as an 8-bit RGB PNG in memory, libpng's
// and zlib's defaults. Returns the encoded size, 0 on failure.
std::size_t encodeBaseline(const QImage& picture, std::vector<unsigned char>& bytes)
{
    bytes.clear();
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, failWithLongJump, nullptr);
    if (!png)
        return 0;
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return 0;
    }
    png_set_write_fn(png, &bytes, appendBytes, nullptr);
    png_set_IHDR(png, info, static_cast<png_uint_32>(picture.width()), static_cast<png_uint_32>(picture.height()), 8,
                 PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < picture.height(); ++y)
        png_write_row(png, picture.constScanLine(y));
    png_write_end(png, info);
    png_destroy_write_struct(&png, &info);
    return bytes.size();
}

void measurePage(benchmark::State& state, const std::function<QImage(const PageSetup&)>& build, bool needsCharts)
{
    const PageSetup& setup = pageSetup();
    if (needsCharts && !setup.charts) {
        state.SkipWithError("the chart component did not load");
        return;
    }
    std::vector<unsigned char> encoded;
    encoded.reserve(1 << 20);
    double pageSeconds = 0;
    double baselineSeconds = 0;
    for (auto _ : state) {
        const ponderix::bench::OwnTimer pageTimer;
        const QImage page = build(setup);
        const double pageTime = pageTimer.elapsedSeconds();
        state.SetIterationTime(pageTime);
        pageSeconds += pageTime;
        const ponderix::bench::OwnTimer baselineTimer;
        const std::size_t size = encodeBaseline(setup.baselinePicture, encoded);
        baselineSeconds += baselineTimer.elapsedSeconds();
        if (page.isNull() || size == 0) {
            state.SkipWithError("a page or the baseline could not be made");
            return;
        }
    }
    state.counters["png_ms"] = baselineSeconds * 1000.0 / static_cast<double>(state.iterations());
    state.counters["vs_png"] = baselineSeconds > 0 ? pageSeconds / baselineSeconds : 0.0;
    state.counters["limit"] = kLimit;
}

[[maybe_unused]] const bool registered = [] {
    ponderix::bench::configurePageBenchmark(
        benchmark::RegisterBenchmark("pages/overview_26x38", [](benchmark::State& state) {
            measurePage(
                state,
                [](const PageSetup& s) {
                    return buildOverviewPage(s.regular, QStringLiteral("Benchmark"), s.charts.get(), s.folder.path());
                },
                true);
        }));
    ponderix::bench::configurePageBenchmark(
        benchmark::RegisterBenchmark("pages/detail_26x38", [](benchmark::State& state) {
            measurePage(
                state,
                [](const PageSetup& s) {
                    return buildDetailPage(s.regular, 0, QStringLiteral("Benchmark"), s.charts.get(), s.folder.path());
                },
                true);
        }));
    ponderix::bench::configurePageBenchmark(
        benchmark::RegisterBenchmark("pages/profile_26x38", [](benchmark::State& state) {
            measurePage(
                state, [](const PageSetup& s) { return buildProfilePage(s.regular, QStringLiteral("Benchmark")); },
                false);
        }));
    ponderix::bench::configurePageBenchmark(
        benchmark::RegisterBenchmark("pages/profile_26x300", [](benchmark::State& state) {
            measurePage(
                state, [](const PageSetup& s) { return buildProfilePage(s.wide, QStringLiteral("Benchmark")); }, false);
        }));
    return true;
}();

} // namespace
