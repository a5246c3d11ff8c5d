// Reading one huge comment against reading a file of the same size made of
// short attributes. Expat scans an unfinished token again on every call, so
// how the reader feeds it decides whether the first costs about what the
// second does or grows with the square of the comment's length.
//
// A program of its own: the 100 MB strings it makes and frees would change
// how the heap serves the other load figures measured beside them.

#include "bench/LargeProject.h"
#include "bench/OwnTime.h"
#include "bench/Summary.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"

#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <optional>
#include <vector>

using namespace ponderix;
using namespace ponderix::bench;

namespace {

constexpr qsizetype kTargetSize = 50'000'000;
constexpr int kOptions = 1000;
constexpr int kRepetitions = 7;
constexpr double kLimit = 1.5;

const QDateTime kModified(QDate(2024, 1, 2), QTime(3, 4, 5));
const QString kFileName = QStringLiteral("same.pnx");

QByteArray oneRatingWithComment(qsizetype length)
{
    Project project;
    project.appendOption(QStringLiteral("Option"));
    project.appendCriterion(QStringLiteral("Criterion"), kImportanceOfNewCriterion);
    project.appendRating(0, 0, QString(length, u'x'), kNeutralValue);
    return projectFileBytes(project, kFileName, kModified);
}

bool writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.flush();
}

// Times one load and checks what it gave, so that a refusal cannot pass for
// a fast load.
std::optional<double> timedLoad(const QString& path, int ratings, qsizetype firstCommentLength)
{
    const OwnTimer timer;
    ReadResult result = readProjectFile(path);
    const double seconds = timer.elapsedSeconds();
    if (!result.ok() || result.project().ratingCount() != ratings
        || (firstCommentLength >= 0 && result.project().ratings().front().Comment.size() != firstCommentLength))
        return std::nullopt;
    return seconds;
}

double median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

} // namespace

int main()
{
    QTemporaryDir folder;
    if (!folder.isValid()) {
        std::fprintf(stderr, "cannot create a temporary folder\n");
        return 1;
    }
    // Both files as the writer lays them out: a matrix of short ratings, and
    // one rating whose comment makes up the same number of bytes.
    const QString shortPath = folder.filePath(QStringLiteral("short-attributes.pnx"));
    const QString longPath = folder.filePath(QStringLiteral("one-long-comment.pnx"));
    // Comments repeat every four criteria, so four more of them tell the size
    // each adds.
    const auto sizeWith = [](int criteria) {
        return projectFileBytes(generatedProject(kOptions, criteria), kFileName, kModified).size();
    };
    const qsizetype bytesPerCriterion = (sizeWith(8) - sizeWith(4)) / 4;
    const Project matrix = generatedProject(kOptions, static_cast<int>(kTargetSize / bytesPerCriterion));
    const int shortRatings = matrix.ratingCount();
    qsizetype commentLength = 0;
    qsizetype fileSize = 0;
    {
        const QByteArray shortBytes = projectFileBytes(matrix, kFileName, kModified);
        fileSize = shortBytes.size();
        // The markup around the comment does not depend on its length.
        commentLength = fileSize - oneRatingWithComment(0).size();
        const QByteArray longBytes = oneRatingWithComment(commentLength);
        if (longBytes.size() != fileSize || !writeFile(shortPath, shortBytes) || !writeFile(longPath, longBytes)) {
            std::fprintf(stderr, "cannot write the two files\n");
            return 1;
        }
    }
    std::printf("two files of %.1f MB: one comment of %.1f MB, and %d short ratings\n",
                static_cast<double>(fileSize) / 1e6, static_cast<double>(commentLength) / 1e6, shortRatings);

    std::vector<double> longLoads, shortLoads;
    // Interleaved, so that a slow spell of the machine falls on both sides.
    for (int repetition = 0; repetition < kRepetitions; ++repetition) {
        const std::optional<double> once = timedLoad(longPath, 1, commentLength);
        const std::optional<double> matrixLoad = timedLoad(shortPath, shortRatings, -1);
        if (!once || !matrixLoad) {
            std::fprintf(stderr, "a file did not load\n");
            return 1;
        }
        longLoads.push_back(*once);
        shortLoads.push_back(*matrixLoad);
    }

    printSummary(stdout,
                 {{"load one 50 MB comment", "ms", median(longLoads) * 1000, median(shortLoads) * 1000, kLimit}});
    std::printf("\ntimes: median of %d interleaved loads each, own time, through readProjectFile.\n"
                "baseline: a file of the same size made of short ratings, as the writer lays out a matrix.\n",
                kRepetitions);
    return 0;
}
