#include "bench/LargeProject.h"

namespace ponderix::bench {

namespace {

QString numbered(const char* prefix, int number)
{
    return QString::fromLatin1(prefix) + QString::number(number);
}

} // namespace

Project largeProject()
{
    Project project;
    for (int option = 0; option < kLargeOptionCount; ++option)
        project.appendOption(numbered("Option ", option));
    for (int criterion = 0; criterion < kLargeCriterionCount; ++criterion)
        project.appendCriterion(numbered("Criterion ", criterion), kImportanceMin + criterion % kImportanceMax);
    // Criterion by criterion, options ascending: the order the program itself
    // keeps, so regularising on load has nothing to reorder.
    int rating = 0;
    for (int criterion = 0; criterion < kLargeCriterionCount; ++criterion) {
        for (int option = 0; option < kLargeOptionCount; ++option, ++rating)
            project.appendRating(option, criterion, numbered("note ", rating),
                                 (option * 7 + criterion) % (kValueMax + 1));
    }
    return project;
}

bool looksLikeLargeProject(const Project& project)
{
    if (project.optionCount() != kLargeOptionCount || project.criterionCount() != kLargeCriterionCount
        || project.ratingCount() != kLargeRatingCount)
        return false;
    // Spot checks at both ends and in the middle are enough to tell a real load.
    const Rating& last = project.ratings().back();
    const Rating* middle = project.ratingOf(17, 500);
    return project.options()[17].Name == numbered("Option ", 17)
           && project.criteria()[999].Name == numbered("Criterion ", 999) && project.criteria()[3].Importance == 4
           && last.Comment == numbered("note ", kLargeRatingCount - 1) && middle
           && middle->Comment == numbered("note ", 500 * kLargeOptionCount + 17)
           && middle->Value == (17 * 7 + 500) % 11;
}

Project generatedProject(int options, int criteria)
{
    Project project;
    for (int o = 0; o < options; ++o)
        project.appendOption(QStringLiteral("Option %1").arg(o + 1));
    for (int c = 0; c < criteria; ++c)
        project.appendCriterion(QStringLiteral("Criterion %1").arg(c + 1), 1 + (c * 7) % 5);
    for (int o = 0; o < options; ++o) {
        for (int c = 0; c < criteria; ++c)
            project.appendRating(o, c, c % 4 == 0 ? QStringLiteral("Checked on site") : QString(),
                                 (o * 5 + c * 3) % 11);
    }
    return project;
}

} // namespace ponderix::bench
