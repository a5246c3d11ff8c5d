// A project file with one option name of 20 MB, which the reader accepts:
// the desktop program from start-up with that file on the command line until
// it has shown the main window, gone idle and answered a key, against a
// budget of 2 s, and the process's peak memory by then, against 1 GB. Then
// the robustness page of that project (the analysis and the picture, as its
// window makes them) against the overview page in the same run: the names
// are laid out cut on both, so neither may grow with the name.
//
// A program of its own: the start-up comes first in a fresh process, so the
// peak memory is that of the open alone.

#include "app/Application.h"
#include "bench/LargeProject.h"
#include "bench/OwnTime.h"
#include "bench/PeakMemory.h"
#include "bench/Summary.h"
#include "evaluation/ResultPages.h"
#include "evaluation/Robustness.h"
#include "evaluation/Scoring.h"
#include "platform/Folders.h"
#include "project/ProjectWriter.h"

#include <QApplication>
#include <QDateTime>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QKeyEvent>
#include <QTemporaryDir>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

using namespace ponderix;
using namespace ponderix::bench;
using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kNameLength = 20'000'000;
constexpr double kOpenBudgetMs = 2000;
constexpr double kPeakBudgetMB = 1024;
constexpr double kPageLimit = 2.0;
constexpr int kPageRepetitions = 5;

QString longName()
{
    const QString words = u"Option with a very long name "_s;
    return words.repeated(kNameLength / words.size() + 1).first(kNameLength);
}

bool writeProjectWithLongName(const QString& path)
{
    Project project = generatedProject(3, 4);
    project.setOptionName(0, longName());
    const QByteArray bytes = projectFileBytes(project, u"long-name.pnx"_s, QDateTime(QDate(2024, 1, 2), QTime(3, 4)));
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// Until every event posted so far, and those they posted, are handled: a
// zero timer fires only once the queue before it is empty.
void settle()
{
    for (int round = 0; round < 3; ++round) {
        QEventLoop loop;
        QTimer::singleShot(0, &loop, &QEventLoop::quit);
        loop.exec();
    }
}

ApplicationFolders sandboxFolders(const QTemporaryDir& sandbox)
{
    ApplicationFolders folders;
    folders.documents = sandbox.filePath(u"documents/"_s);
    folders.pictures = sandbox.filePath(u"pictures/"_s);
    folders.applicationData = sandbox.filePath(u"config/Ponderix/"_s);
    folders.temporary = sandbox.filePath(u"runtime/Ponderix/"_s);
    folders.state = sandbox.filePath(u"state/Ponderix/"_s);
    folders.programPath = QCoreApplication::applicationFilePath();
    folders.programFolder = QCoreApplication::applicationDirPath() + u'/';
    QDir(sandbox.path()).mkpath(u"documents"_s);
    return folders;
}

void pressTab()
{
    QWidget* target = QApplication::focusWidget();
    if (!target)
        target = QApplication::activeWindow();
    if (!target)
        return;
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Tab, Qt::NoModifier);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_Tab, Qt::NoModifier);
    QApplication::sendEvent(target, &press);
    QApplication::sendEvent(target, &release);
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char* argv[])
{
    QTemporaryDir sandbox;
    if (!sandbox.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    // The single-instance socket goes into the sandbox, not beside a running copy.
    qputenv("XDG_RUNTIME_DIR", QFile::encodeName(sandbox.filePath(u"runtime"_s)));
    QDir(sandbox.path()).mkpath(u"runtime"_s);
    QFile::setPermissions(sandbox.filePath(u"runtime"_s), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    QApplication qtApplication(argc, argv);
    const QString path = sandbox.filePath(u"long-name.pnx"_s);
    if (!writeProjectWithLongName(path)) {
        std::fprintf(stderr, "cannot write the project\n");
        return 1;
    }

    const OwnTimer timer;
    Application ponderix({{path}, nullptr, sandboxFolders(sandbox)});
    if (ponderix.start() != Application::Start::Running) {
        std::fprintf(stderr, "the program did not start\n");
        return 1;
    }
    settle();
    pressTab();
    settle();
    const double openMs = timer.elapsedSeconds() * 1000;
    const long long peakKiB = statusFigureKiB("VmHWM");
    // A refused or shortened file cannot pass for a fast open.
    if (ponderix.project().optionCount() != 3 || ponderix.project().options().front().Name.size() != kNameLength) {
        std::fprintf(stderr, "the project did not open whole\n");
        return 1;
    }
    const Project project = scoredCopy(ponderix.project());
    const QString banner = u"long-name"_s;
    std::vector<double> overviews, robustnessPages;
    // Interleaved, so that a slow spell of the machine falls on both sides.
    for (int repetition = 0; repetition < kPageRepetitions; ++repetition) {
        const OwnTimer overviewTimer;
        const QImage overview = buildOverviewPage(project, banner, ponderix.charts(), ponderix.folders().temporary);
        overviews.push_back(overviewTimer.elapsedSeconds());
        const OwnTimer robustnessTimer;
        const QImage robustness = buildRobustnessPage(project, analyseRobustness(project), banner);
        robustnessPages.push_back(robustnessTimer.elapsedSeconds());
        if (overview.isNull() || robustness.isNull()) {
            std::fprintf(stderr, "a page was not drawn\n");
            return 1;
        }
    }
    ponderix.shutDown();

    const std::optional<double> peakMB =
        peakKiB < 0 ? std::nullopt : std::optional<double>(static_cast<double>(peakKiB) * 1024 / 1e6);
    printSummary(stdout, {
                             {"open a project with a 20 MB name", "ms", openMs, std::nullopt, kOpenBudgetMs},
                             {"peak memory of that open", "MB", peakMB, std::nullopt, kPeakBudgetMB},
                             {"robustness page with that name", "ms", median(robustnessPages) * 1000,
                              median(overviews) * 1000, kPageLimit},
                         });
    std::printf("\nopen: own time from the application object to the main window shown, idle and past a Tab key;\n"
                "      peak: the whole process's high-water mark by then; the budgets are fixed.\n"
                "pages: median of %d interleaved builds each, own time; the robustness side includes its\n"
                "       analysis, as its window does. baseline: the overview page of the same project.\n",
                kPageRepetitions);
    return 0;
}
