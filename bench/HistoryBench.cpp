// The edit history and the recovery copy, measured where the user would feel
// them, on the widest project the program opens from a file written
// elsewhere (26 x 300 = 7,800 ratings):
// - undoing the deletion of a criterion, against the deletion itself (both
//   rebuild every cell, so undo should cost no more than the edit it undoes);
// - writing the recovery copy, against a plain save of the same project
//   (the copy is the project file plus a few bytes of path and banner);
// - the memory the history holds after 50 edits of a 5 MB comment, against
//   a budget (each edit keeps a new text; the oldest steps go first).

#include "app/Recovery.h"
#include "bench/LargeProject.h"
#include "bench/OwnTime.h"
#include "bench/PeakMemory.h"
#include "bench/Summary.h"
#include "document/Document.h"
#include "document/EditSteps.h"
#include "editor/MatrixView.h"
#include "editor/MatrixWiring.h"
#include "project/ProjectWriter.h"

#include <QApplication>
#include <QDateTime>
#include <QTemporaryDir>
#include <QWidget>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

using namespace ponderix;
using namespace ponderix::bench;

namespace {

constexpr int kRepetitions = 7;
constexpr double kUndoLimit = 1.5;
constexpr double kRecoveryLimit = 2.0;
constexpr int kCommentEdits = 50;
constexpr qsizetype kCommentCharacters = 2'500'000; // 5 MB as UTF-16
constexpr double kHistoryMemoryBudgetMB = 150;

// The window as the program has it, with the project opened into it.
struct Window {
    explicit Window(const Project& read)
    {
        client.resize(760, 630);
        view = std::make_unique<MatrixView>(&client, document.project(), 0,
                                            QStringLiteral("Low        Medium        High"));
        followDocument(document, *view);
        client.show();
        document.replace(Project(read), QStringLiteral("Wide"));
        settle();
    }

    void settle()
    {
        client.repaint();
        QCoreApplication::processEvents();
    }

    QWidget client;
    Document document;
    std::unique_ptr<MatrixView> view;
};

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QTemporaryDir folder;
    if (!folder.isValid())
        return 1;

    const Project wide = generatedProject(26, 300);
    const QByteArray untouched = projectFileBytes(wide, QStringLiteral("w.pnx"), QDateTime());
    Window window(wide);
    const RecoveryFile recovery(folder.path());
    const QString plainPath = folder.filePath(QStringLiteral("Plain.pnx"));
    std::vector<double> deletions, undos, saves, copies;
    // Interleaved, so that a slow spell of the machine falls on both sides.
    for (int repetition = 0; repetition < kRepetitions; ++repetition) {
        {
            const OwnTimer timer;
            window.document.history().record(new DeleteStep(window.document, EntryKind::Criterion, 150));
            window.settle();
            deletions.push_back(timer.elapsedSeconds());
        }
        {
            const OwnTimer timer;
            window.document.history().undo();
            window.settle();
            undos.push_back(timer.elapsedSeconds());
        }
        // A fast undo that did not give the project back would prove nothing.
        if (projectFileBytes(window.document.project(), QStringLiteral("w.pnx"), QDateTime()) != untouched) {
            std::fprintf(stderr, "the undo did not restore the project\n");
            return 1;
        }
        {
            const OwnTimer timer;
            if (!writeProjectFile(wide, plainPath, QDateTime::currentDateTime()))
                return 1;
            saves.push_back(timer.elapsedSeconds());
        }
        {
            const OwnTimer timer;
            if (!recovery.write(wide, plainPath, QStringLiteral("Plain")))
                return 1;
            copies.push_back(timer.elapsedSeconds());
        }
    }

    // Each edit writes a comment of its own letter, so no two steps share it.
    const long long residentBefore = statusFigureKiB("VmRSS");
    for (int edit = 0; edit < kCommentEdits; ++edit) {
        window.document.history().record(
            new CommentStep(window.document, 0, 0, QString(kCommentCharacters, QChar(u'A' + edit % 26))));
    }
    const long long residentAfter = statusFigureKiB("VmRSS");
    const std::optional<double> historyMB = residentBefore < 0 || residentAfter < 0
                                                ? std::nullopt
                                                : std::optional<double>((residentAfter - residentBefore) * 1024 / 1e6);

    const auto ms = [](const std::vector<double>& seconds) { return std::optional<double>(median(seconds) * 1000); };
    printSummary(stdout, {
                             {"undo deleting a criterion of 26 x 300", "ms", ms(undos), ms(deletions), kUndoLimit},
                             {"recovery copy of 26 x 300", "ms", ms(copies), ms(saves), kRecoveryLimit},
                             {"history after 50 edits of a 5 MB comment", "MB", historyMB, std::nullopt,
                              kHistoryMemoryBudgetMB},
                         });
    std::printf("\ntimes: median of %d interleaved runs, own time, offscreen; the delete and its undo end when\n"
                "       the window has painted.\n"
                "baselines: the delete itself; a plain save of the same project (atomic, flushed).\n",
                kRepetitions);
    return 0;
}
