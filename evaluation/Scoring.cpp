#include "evaluation/Scoring.h"

#include "base/Language.h"
#include "base/TextTable.h"
#include "project/OptionLetter.h"
#include "project/Project.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

int roundHalfAwayFromZero(float value)
{
    return static_cast<int>(value > 0 ? std::floor(value + 0.5f) : std::ceil(value - 0.5f));
}

} // namespace

int scoreOf(const Project& project, int optionIndex)
{
    // With no criteria there is nothing to weigh: neutral rather than a
    // division by zero.
    if (project.criterionCount() == 0)
        return 0;
    long long sum = 0;
    for (const Criterion& criterion : project.criteria()) {
        const Rating* rating = project.ratingOf(optionIndex, criterion.Index);
        const int value = rating ? rating->Value : kNeutralValue;
        sum += static_cast<long long>(criterion.Importance) * (value - kNeutralValue);
    }
    return scoreOfSum(sum, project.criterionCount());
}

int scoreOfSum(long long sum, int criterionCount)
{
    if (criterionCount <= 0)
        return 0;
    const float quotient = static_cast<float>(sum) / static_cast<float>(criterionCount) * 4.0f;
    return roundHalfAwayFromZero(quotient);
}

std::vector<int> bestOf(const std::vector<int>& scores)
{
    std::vector<int> best;
    if (scores.empty())
        return best;
    const int maximum = *std::max_element(scores.begin(), scores.end());
    for (std::size_t option = 0; option < scores.size(); ++option) {
        if (scores[option] == maximum)
            best.push_back(static_cast<int>(option));
    }
    return best;
}

Project scoredCopy(const Project& project)
{
    Project copy = project;
    ComputeScores(copy);
    return copy;
}

void ComputeScores(Project& project)
{
    for (const Option& option : project.options())
        project.setScore(option.Index, scoreOf(project, option.Index));
}

TextKey verdictBand(int score)
{
    if (score > 60)
        return TextKey::TXT00251;
    if (score > 20)
        return TextKey::TXT00252;
    if (score > -21)
        return TextKey::TXT00253;
    if (score > -61)
        return TextKey::TXT00254;
    return TextKey::TXT00255;
}

QString scoreText(int score)
{
    return percentText(score, 0, true);
}

QString plainScoreText(int score)
{
    return (score > 0 ? u"+"_s : QString()) + QString::number(score) + u"%"_s;
}

BestOptions bestOptions(const Project& project)
{
    BestOptions best;
    if (project.optionCount() == 0)
        return best;
    int maximum = std::numeric_limits<int>::min();
    for (const Option& option : project.options())
        maximum = std::max(maximum, option.score);
    best.maximum = maximum;
    for (const Option& option : project.options()) {
        if (option.score == maximum)
            best.indexes.push_back(option.Index);
    }
    return best;
}

QString bestOptionsText(const Project& project, const BestOptions& best)
{
    QStringList parts;
    const QString word = uiText(TextKey::TXT00202);
    for (int index : best.indexes) {
        const Option& option = project.options()[static_cast<std::size_t>(index)];
        parts << word + u" "_s + optionLetter(index) + u" "_s + quoted(option.Name);
    }
    return parts.join(u", "_s);
}

} // namespace ponderix
