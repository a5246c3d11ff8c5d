// Start-up in German against start-up in English, in the same run: the
// translation is read from the program at every start, and that must not
// make the program noticeably slower to come up. Each side is ponderix-cli
// started, choosing its language and printing every text, measured as the
// processor time the child process used; the median of the repetitions,
// taken in turn, counts.

#include "bench/Summary.h"

#include <QCoreApplication>
#include <QProcess>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

#include <sys/resource.h>

using namespace ponderix::bench;

namespace {

constexpr int kRepetitions = 15;
constexpr double kLimit = 1.05;

double childrenSeconds()
{
    rusage usage{};
    getrusage(RUSAGE_CHILDREN, &usage);
    const auto seconds = [](const timeval& time) {
        return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_usec) / 1e6;
    };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// The processor time of one start in `language`; none when it failed.
std::optional<double> startOnce(const QString& language)
{
    QProcess cli;
    cli.setStandardOutputFile(QProcess::nullDevice());
    const double before = childrenSeconds();
    cli.start(QStringLiteral(PONDERIX_CLI), {QStringLiteral("--language"), language, QStringLiteral("texts")});
    if (!cli.waitForFinished(30000) || cli.exitCode() != 0)
        return std::nullopt;
    return childrenSeconds() - before;
}

std::optional<double> median(std::vector<double> times)
{
    if (times.size() != kRepetitions)
        return std::nullopt;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication application(argc, argv);
    std::vector<double> english;
    std::vector<double> german;
    for (int i = 0; i < kRepetitions; ++i) {
        if (const std::optional<double> time = startOnce(QStringLiteral("en")))
            english.push_back(*time * 1000.0);
        if (const std::optional<double> time = startOnce(QStringLiteral("de")))
            german.push_back(*time * 1000.0);
    }
    const Figure startUp{"start-up in German (vs English)", "ms", median(german), median(english), kLimit};
    printSummary(stdout, {startUp});
    return startUp.ours && startUp.baseline ? 0 : 1;
}
