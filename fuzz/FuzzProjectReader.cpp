// Feeds arbitrary bytes to the project reader. Beyond not crashing, whatever
// the reader accepts must be a regular project, and the writer must turn it
// into a file that the reader accepts again with the same contents, less the
// outer blanks of names and comments: a save the program cannot open again
// would cost the user the project.

#include "base/Blanks.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"

#include <QByteArrayView>
#include <QDateTime>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

using namespace ponderix;

namespace {

// Far beyond any project made by hand, small enough that the round trip of a
// sparse file, whose missing ratings the reader fills in, stays quick.
constexpr std::int64_t kRoundTripCellLimit = 200'000;

[[noreturn]] void fail(const char* what, long long where = -1)
{
    std::fprintf(stderr, "fuzz_project_reader: %s (at %lld)\n", what, where);
    std::abort();
}

void require(bool holds, const char* what, long long where = -1)
{
    if (!holds)
        fail(what, where);
}

// What the reader promises for every project it returns.
void checkRegular(const Project& project)
{
    for (int i = 0; i < project.optionCount(); ++i)
        require(project.options()[static_cast<std::size_t>(i)].Index == i, "option index is not its position", i);
    for (int i = 0; i < project.criterionCount(); ++i) {
        const Criterion& criterion = project.criteria()[static_cast<std::size_t>(i)];
        require(criterion.Index == i, "criterion index is not its position", i);
        require(criterion.Importance >= kImportanceMin && criterion.Importance <= kImportanceMax,
                "importance out of range", i);
    }
    // Each pair exactly once, checked against the ratings themselves rather
    // than through the project's own look-up, which would hide a duplicate.
    const std::int64_t cells = Project::cellCount(project.optionCount(), project.criterionCount());
    require(static_cast<std::int64_t>(project.ratingCount()) == cells, "not one rating per pair",
            project.ratingCount());
    std::vector<bool> rated(static_cast<std::size_t>(cells), false);
    long long position = 0;
    for (const Rating& rating : project.ratings()) {
        require(rating.IndexOption >= 0 && rating.IndexOption < project.optionCount() && rating.IndexCriteria >= 0
                    && rating.IndexCriteria < project.criterionCount(),
                "a rating of no pair", position);
        require(rating.Value >= kValueMin && rating.Value <= kValueMax, "value out of range", position);
        const auto cell =
            static_cast<std::size_t>(rating.IndexCriteria) * static_cast<std::size_t>(project.optionCount())
            + static_cast<std::size_t>(rating.IndexOption);
        require(!rated[cell], "a pair rated twice", position);
        rated[cell] = true;
        ++position;
    }
}

void checkSameContents(const Project& original, const Project& reread)
{
    require(reread.optionCount() == original.optionCount(), "option count changed");
    require(reread.criterionCount() == original.criterionCount(), "criterion count changed");
    require(reread.ratingCount() == original.ratingCount(), "rating count changed");
    for (std::size_t i = 0; i < original.options().size(); ++i) {
        require(reread.options()[i].Name == trimBlanks(original.options()[i].Name), "option name changed",
                static_cast<long long>(i));
    }
    for (std::size_t i = 0; i < original.criteria().size(); ++i) {
        const Criterion& before = original.criteria()[i];
        const Criterion& after = reread.criteria()[i];
        require(after.Name == trimBlanks(before.Name), "criterion name changed", static_cast<long long>(i));
        require(after.Importance == before.Importance, "importance changed", static_cast<long long>(i));
    }
    // Ratings come back in the order they were written.
    for (std::size_t i = 0; i < original.ratings().size(); ++i) {
        const Rating& before = original.ratings()[i];
        const Rating& after = reread.ratings()[i];
        require(after.IndexOption == before.IndexOption && after.IndexCriteria == before.IndexCriteria, "rating moved",
                static_cast<long long>(i));
        require(after.Value == before.Value, "value changed", static_cast<long long>(i));
        require(after.Comment == trimBlanks(before.Comment), "comment changed", static_cast<long long>(i));
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const QByteArrayView input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    ReadResult first = readProjectBytes(input);
    if (!first.ok())
        return 0;
    const Project& project = first.project();
    checkRegular(project);
    if (Project::cellCount(project.optionCount(), project.criterionCount()) > kRoundTripCellLimit)
        return 0;

    const QString fileName = QStringLiteral("fuzz.pnx");
    const QDateTime modified(QDate(2024, 1, 2), QTime(3, 4, 5));
    const QByteArray written = projectFileBytes(project, fileName, modified);
    ReadResult second = readProjectBytes(written);
    if (!second.ok()) {
        const ReadError& error = second.error();
        const QByteArray line = written.split('\n').value(error.line - 1);
        std::fprintf(stderr, "%s at line %d, column %d of the written file:\n%s\n",
                     error.description.toUtf8().constData(), error.line, error.column, line.constData());
        fail("the reader refuses the writer's own file", static_cast<long long>(error.kind));
    }
    checkRegular(second.project());
    checkSameContents(project, second.project());
    // Once trimmed, a project is its own file: a second save changes nothing.
    require(projectFileBytes(second.project(), fileName, modified) == written, "a second save differs");
    return 0;
}
