// The matrix view while the user waits: opening a project into the running
// window until it has painted, for the largest project the program lets the
// user build (25 x 40 = 1,000 ratings) and for a file written elsewhere with
// 26 x 300 = 7,800 ratings, and the full rebuild after deleting an option.
// Each is set against building the same number of bare cells (the widget
// kinds of a rating cell, no data, made before any window is shown) in the
// same repetition. Peak memory of the large open is measured in a fresh
// process, so that the baselines' widgets do not count.

#include "base/TextTable.h"
#include "bench/LargeProject.h"
#include "bench/OwnTime.h"
#include "bench/Summary.h"
#include "editor/ImageButton.h"
#include "editor/MatrixView.h"
#include "project/Project.h"

#include <QApplication>
#include <QFile>
#include <QFrame>
#include <QLabel>
#include <QProcess>
#include <QSlider>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <functional>
#include <optional>
#include <vector>

using namespace ponderix;
using namespace ponderix::bench;

namespace {

constexpr int kRepetitions = 7;
constexpr double kLimit = 1.5;
constexpr double kPeakLimitMB = 300.0;
constexpr const char* kPeakArgument = "--peak-of-wide-open";


// The window as the program has it: a client area of the default size with
// the view in it, shown and painted once.
struct Window {
    Window()
    {
        client.resize(760, 630);
        view = std::make_unique<MatrixView>(&client, project, 0, QStringLiteral("Low        Medium        High"));
        client.show();
        settle();
    }

    void settle()
    {
        client.repaint();
        QCoreApplication::processEvents();
    }

    // What the open command does once the file is read.
    void open(const Project& read)
    {
        project = read;
        view->clearCells();
        view->buildAllCells(true);
        view->sizeAreas(std::max(project.optionCount(), 1), std::max(project.criterionCount(), 1));
        view->updateStatusLine();
        settle();
    }

    // What the delete command does once the user has said Yes: every cell
    // is built again, since the letters follow the positions.
    void deleteFirstOption()
    {
        view->clearCells();
        project.deleteOption(0);
        view->buildAllCells(true);
        view->sizeColumns(project.optionCount());
        view->updateStatusLine();
        settle();
    }

    QWidget client;
    Project project;
    std::unique_ptr<MatrixView> view;
};

// Bare cells: a frame with the title, the comment button, the value box, the
// scale picture, the slider and the scale caption, nothing set on any of them.
double bareCellsSeconds(int cells)
{
    auto parent = std::make_unique<QWidget>();
    const OwnTimer timer;
    for (int i = 0; i < cells; ++i) {
        auto* frame = new QFrame(parent.get());
        new QLabel(frame);
        new ImageButton(frame);
        new QLabel(frame);
        new QLabel(frame);
        new QSlider(Qt::Horizontal, frame);
        new QLabel(frame);
    }
    const double seconds = timer.elapsedSeconds();
    // Never shown, never polished: dropping the requests first keeps the
    // tear-down from scanning the event queue once per widget.
    QCoreApplication::removePostedEvents(nullptr, QEvent::PolishRequest);
    parent.reset();
    return seconds;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

long long peakResidentKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toLongLong();
    }
    return 0;
}

int runPeakChild()
{
    Window window;
    window.open(generatedProject(26, 300));
    std::printf("%lld\n", peakResidentKiB());
    return 0;
}

std::optional<double> peakOfWideOpenMB(const QString& program)
{
    QProcess child;
    child.start(program, {QString::fromLatin1(kPeakArgument)});
    if (!child.waitForFinished(120'000) || child.exitCode() != 0)
        return std::nullopt;
    bool ok = false;
    const long long kib = child.readAllStandardOutput().trimmed().toLongLong(&ok);
    if (!ok || kib <= 0)
        return std::nullopt;
    return static_cast<double>(kib) * 1024 / 1e6;
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc == 2 && std::strcmp(argv[1], kPeakArgument) == 0)
        return runPeakChild();

    const Project regular = generatedProject(25, 40);
    const Project wide = generatedProject(26, 300);
    Window window;
    std::vector<double> bareSmall, bareLarge, openSmall, openLarge, deleteSmall;
    // Interleaved, so that a slow spell of the machine falls on both sides.
    for (int repetition = 0; repetition < kRepetitions; ++repetition) {
        bareSmall.push_back(bareCellsSeconds(1000));
        // Opened once untimed, so that the timed open replaces the same
        // project, as opening a file again does.
        window.open(regular);
        {
            const OwnTimer timer;
            window.open(regular);
            openSmall.push_back(timer.elapsedSeconds());
        }
        {
            const OwnTimer timer;
            window.deleteFirstOption();
            deleteSmall.push_back(timer.elapsedSeconds());
            if (window.project.optionCount() != 24 || window.view->ratingCell(23, 39) == nullptr) {
                std::fprintf(stderr, "the delete did not rebuild the matrix\n");
                return 1;
            }
        }
        bareLarge.push_back(bareCellsSeconds(7800));
        {
            const OwnTimer timer;
            window.open(wide);
            openLarge.push_back(timer.elapsedSeconds());
            if (window.view->ratingCell(25, 299) == nullptr) {
                std::fprintf(stderr, "the large project did not open\n");
                return 1;
            }
        }
    }

    const auto ms = [](const std::vector<double>& seconds) { return std::optional<double>(median(seconds) * 1000); };
    printSummary(stdout, {
        {"open 25 x 40 (1,000 cells)", "ms", ms(openSmall), ms(bareSmall), kLimit},
        {"open 26 x 300 (7,800 cells)", "ms", ms(openLarge), ms(bareLarge), kLimit},
        {"delete an option of 25 x 40", "ms", ms(deleteSmall), ms(bareSmall), kLimit},
        {"peak memory, open 26 x 300", "MB", peakOfWideOpenMB(QCoreApplication::applicationFilePath()), std::nullopt,
         kPeakLimitMB},
    });
    std::printf("\ntimes: median of %d interleaved runs, own time, offscreen; the small open replaces the same\n"
                "       project, the large one the small one less an option; each ends when the window has painted.\n"
                "baseline: the same number of bare rating cells (frame, four labels, button, slider; no data),\n"
                "          made under a widget that is never shown.\n",
                kRepetitions);
    return 0;
}
