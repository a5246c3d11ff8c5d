#include "project/DisplayTexts.h"

#include "base/DisplayText.h"
#include "project/Project.h"

#include <algorithm>

namespace ponderix {

Project withDisplayTexts(Project project)
{
    for (const Option& option : project.options()) {
        if (isCutForDisplay(option.Name))
            project.setOptionName(option.Index, displayText(option.Name));
    }
    for (const Criterion& criterion : project.criteria()) {
        if (isCutForDisplay(criterion.Name))
            project.setCriterionName(criterion.Index, displayText(criterion.Name));
    }
    for (const Rating& rating : project.ratings()) {
        if (isCutForDisplay(rating.Comment))
            project.setComment(rating.IndexOption, rating.IndexCriteria, displayText(rating.Comment));
    }
    return project;
}

bool hasTextsCutForDisplay(const Project& project)
{
    const auto nameCut = [](const auto& entry) { return isCutForDisplay(entry.Name); };
    return std::any_of(project.options().begin(), project.options().end(), nameCut)
           || std::any_of(project.criteria().begin(), project.criteria().end(), nameCut)
           || std::any_of(project.ratings().begin(), project.ratings().end(),
                          [](const Rating& rating) { return isCutForDisplay(rating.Comment); });
}

} // namespace ponderix
