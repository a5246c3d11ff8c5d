#include "evaluation/TeamTexts.h"

#include "base/Language.h"
#include "evaluation/RobustnessTexts.h"

#include <QStringList>

namespace ponderix {

using namespace Qt::StringLiterals;

QString refusalText(const TeamRefusal& refusal, const std::vector<TeamMember>& members)
{
    using Kind = TeamRefusal::Kind;
    TextKey key = TextKey::TXT00805;
    switch (refusal.kind) {
    case Kind::TooFew:
    case Kind::TooMany:
        return uiText(TextKey::TXT00805);
    case Kind::OptionMissing:
        key = TextKey::TXT00806;
        break;
    case Kind::OptionExtra:
        key = TextKey::TXT00807;
        break;
    case Kind::CriterionMissing:
        key = TextKey::TXT00808;
        break;
    case Kind::CriterionExtra:
        key = TextKey::TXT00809;
        break;
    case Kind::OptionTwice:
        key = TextKey::TXT00810;
        break;
    case Kind::CriterionTwice:
        key = TextKey::TXT00811;
        break;
    }
    return uiText(key).arg(members[static_cast<std::size_t>(refusal.member)].file, refusal.name);
}

TextKey teamVerdictWordKey(TeamVerdict verdict)
{
    switch (verdict) {
    case TeamVerdict::Unanimous:
        return TextKey::TXT00816;
    case TeamVerdict::Majority:
        return TextKey::TXT00817;
    case TeamVerdict::Split:
        return TextKey::TXT00818;
    case TeamVerdict::Undecided:
        break;
    }
    return TextKey::TXT00819;
}

TextKey teamVerdictReasonKey(TeamVerdict verdict)
{
    switch (verdict) {
    case TeamVerdict::Unanimous:
        return TextKey::TXT00820;
    case TeamVerdict::Majority:
        return TextKey::TXT00821;
    case TeamVerdict::Split:
        return TextKey::TXT00822;
    case TeamVerdict::Undecided:
        break;
    }
    return TextKey::TXT00823;
}

QString agreementText(const TeamResult& result)
{
    return uiText(TextKey::TXT00824).arg(result.agreeing).arg(result.members.size());
}

QString disagreementText(const TeamResult& result, const Disagreement& disagreement)
{
    const Project& combined = result.combined;
    QStringList ratings;
    for (std::size_t member = 0; member < result.members.size(); ++member)
        ratings << result.members[member].name + u" "_s + offsetText(disagreement.ratings[member]);
    return optionsText(combined, {disagreement.option}) + u" "_s + uiText(TextKey::TXT00826) + u" "_s
           + quoted(combined.criteria()[static_cast<std::size_t>(disagreement.criterion)].Name) + punctuation(u':')
           + u" "_s + uiText(TextKey::TXT00827) + u" "_s + pointsText(disagreement.impact) + punctuation(u';') + u" "_s
           + ratings.join(u", "_s);
}

} // namespace ponderix
