#include "evaluation/Team.h"

#include "base/Blanks.h"
#include "evaluation/ChanceOfBest.h"
#include "evaluation/RobustnessTexts.h"
#include "evaluation/Scoring.h"

#include <QFileInfo>
#include <QHash>

#include <algorithm>
#include <tuple>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

// Positions by trimmed name; empty when two entries share a name, with that
// name in `twice`.
std::optional<QHash<QString, int>> positionsByName(const std::vector<QString>& names, QString& twice)
{
    QHash<QString, int> positions;
    for (std::size_t at = 0; at < names.size(); ++at) {
        const QString key = trimBlanks(names[at]);
        if (positions.contains(key)) {
            twice = names[at];
            return std::nullopt;
        }
        positions.insert(key, static_cast<int>(at));
    }
    return positions;
}

std::vector<QString> optionNames(const Project& project)
{
    std::vector<QString> names;
    for (const Option& option : project.options())
        names.push_back(option.Name);
    return names;
}

std::vector<QString> criterionNames(const Project& project)
{
    std::vector<QString> names;
    for (const Criterion& criterion : project.criteria())
        names.push_back(criterion.Name);
    return names;
}

// The first name of `names` that `positions` lacks.
std::optional<QString> firstMissing(const std::vector<QString>& names, const QHash<QString, int>& positions)
{
    for (const QString& name : names) {
        if (!positions.contains(trimBlanks(name)))
            return name;
    }
    return std::nullopt;
}

using Kind = TeamRefusal::Kind;

// Whether one list of names of `member` matches the first member's.
std::optional<TeamRefusal> namesRefusal(int member, const std::vector<QString>& first, const std::vector<QString>& own,
                                        Kind twice, Kind missing, Kind extra)
{
    QString repeated;
    const auto firstPositions = positionsByName(first, repeated);
    const auto ownPositions = positionsByName(own, repeated);
    if (!ownPositions)
        return TeamRefusal{twice, member, repeated};
    if (!firstPositions)
        return std::nullopt; // the first member's own refusal says it
    if (const auto name = firstMissing(first, *ownPositions))
        return TeamRefusal{missing, member, *name};
    if (const auto name = firstMissing(own, *firstPositions))
        return TeamRefusal{extra, member, *name};
    return std::nullopt;
}

// One member's values in the team's order.
struct Aligned {
    std::vector<int> importance; // per criterion
    std::vector<int> value;      // option-major, 0..10
    // Into the member's own project, which outlives the analysis; null
    // where the file has no rating.
    std::vector<const QString*> comment;
    std::vector<long long> sum; // per option: importance x offset over every criterion
};

std::vector<int> alignment(const std::vector<QString>& team, const std::vector<QString>& own)
{
    QString unused;
    const QHash<QString, int> positions = positionsByName(own, unused).value_or(QHash<QString, int>());
    std::vector<int> order;
    for (const QString& name : team)
        order.push_back(positions.value(trimBlanks(name)));
    return order;
}

Aligned align(const Project& first, const Project& project)
{
    const std::vector<int> options = alignment(optionNames(first), optionNames(project));
    const std::vector<int> criteria = alignment(criterionNames(first), criterionNames(project));
    Aligned aligned;
    for (int criterion : criteria)
        aligned.importance.push_back(
            clampImportance(project.criteria()[static_cast<std::size_t>(criterion)].Importance));
    for (int option : options) {
        long long sum = 0;
        for (std::size_t c = 0; c < criteria.size(); ++c) {
            const Rating* rating = project.ratingOf(option, criteria[c]);
            const int value = rating ? clampValue(rating->Value) : kNeutralValue;
            aligned.value.push_back(value);
            aligned.comment.push_back(rating ? &rating->Comment : nullptr);
            sum += static_cast<long long>(aligned.importance[c]) * (value - kNeutralValue);
        }
        aligned.sum.push_back(sum);
    }
    return aligned;
}

// The shape of the team and every member's values, read once.
struct Team {
    int options = 0;
    int criteria = 0;
    std::vector<Aligned> members;

    int memberCount() const { return static_cast<int>(members.size()); }
    std::size_t cell(int option, int criterion) const
    {
        return static_cast<std::size_t>(option) * static_cast<std::size_t>(criteria)
               + static_cast<std::size_t>(criterion);
    }
    // The team score of a sum over every member.
    int score(long long sum) const { return scoreOfSum(sum, criteria * memberCount()); }
    long long teamSum(int option) const
    {
        long long sum = 0;
        for (const Aligned& member : members)
            sum += member.sum[static_cast<std::size_t>(option)];
        return sum;
    }
};

std::vector<MemberResult> memberResults(const std::vector<TeamMember>& given, const Team& team)
{
    std::vector<MemberResult> results;
    for (std::size_t m = 0; m < given.size(); ++m) {
        MemberResult result{memberName(given[m].file), {}, {}};
        for (long long sum : team.members[m].sum)
            result.scores.push_back(scoreOfSum(sum, team.criteria));
        result.best = bestOf(result.scores);
        results.push_back(std::move(result));
    }
    return results;
}

bool includesAll(const std::vector<int>& own, const std::vector<int>& team)
{
    return std::includes(own.begin(), own.end(), team.begin(), team.end());
}

void judgeAgreement(TeamResult& result)
{
    if (result.best.empty())
        return;
    for (const MemberResult& member : result.members)
        result.agreeing += includesAll(member.best, result.best) ? 1 : 0;
    const int members = static_cast<int>(result.members.size());
    if (result.best.size() != 1)
        result.verdict = TeamVerdict::Undecided;
    else if (result.agreeing == members)
        result.verdict = TeamVerdict::Unanimous;
    else if (2 * result.agreeing > members)
        result.verdict = TeamVerdict::Majority;
    else
        result.verdict = TeamVerdict::Split;
}

std::vector<Disagreement> disagreements(const Team& team)
{
    std::vector<Disagreement> found;
    for (int option = 0; option < team.options; ++option) {
        const long long total = team.teamSum(option);
        for (int criterion = 0; criterion < team.criteria; ++criterion) {
            const std::size_t cell = team.cell(option, criterion);
            Disagreement disagreement{option, criterion, 0, {}};
            long long own = 0;    // the cell's part of the total as rated
            long long weight = 0; // the members' importances of the criterion, summed
            int lowest = kValueMax;
            int highest = kValueMin;
            for (const Aligned& member : team.members) {
                const int value = member.value[cell];
                const int importance = member.importance[static_cast<std::size_t>(criterion)];
                own += static_cast<long long>(importance) * (value - kNeutralValue);
                weight += importance;
                lowest = std::min(lowest, value);
                highest = std::max(highest, value);
                disagreement.ratings.push_back(value - kNeutralValue);
            }
            if (lowest == highest)
                continue;
            disagreement.impact = team.score(total - own + weight * (highest - kNeutralValue))
                                  - team.score(total - own + weight * (lowest - kNeutralValue));
            if (disagreement.impact > 0)
                found.push_back(std::move(disagreement));
        }
    }
    const auto order = [](const Disagreement& a, const Disagreement& b) {
        return std::tie(b.impact, a.option, a.criterion) < std::tie(a.impact, b.option, b.criterion);
    };
    const std::size_t shown = std::min(found.size(), static_cast<std::size_t>(kDisagreementsShown));
    std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(shown), found.end(), order);
    found.resize(shown);
    return found;
}

// The middle of the sorted values; between two middles their mean, a half
// rounded as `roundHalf` says.
template <typename RoundHalf> int median(std::vector<int> values, RoundHalf roundHalf)
{
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    if (values.size() % 2 == 1)
        return values[middle];
    const int twice = values[middle - 1] + values[middle];
    return twice % 2 == 0 ? twice / 2 : roundHalf(twice);
}

int halfUp(int twice)
{
    return (twice + 1) / 2; // importances are positive
}

int halfAwayFromZero(int twice)
{
    return twice > 0 ? (twice + 1) / 2 : (twice - 1) / 2;
}

// "NAME (RATING)" or "NAME (RATING): COMMENT", a line per member. Written
// straight into one string: a large team makes hundreds of thousands of
// these lines.
class CommentWriter {
public:
    explicit CommentWriter(const std::vector<QString>& names)
    {
        for (const QString& name : names)
            m_prefixes.push_back(name + u" ("_s);
        for (int value = kValueMin; value <= kValueMax; ++value)
            m_ratings.push_back(offsetText(value - kNeutralValue) + u')');
    }

    QString comment(const Team& team, std::size_t cell) const
    {
        const auto rating = [&](const Aligned& member) -> const QString& {
            return m_ratings[static_cast<std::size_t>(member.value[cell] - kValueMin)];
        };
        const auto note = [&](const Aligned& member) {
            return member.comment[cell] ? *member.comment[cell] : QString();
        };
        qsizetype length = 0;
        for (std::size_t m = 0; m < m_prefixes.size(); ++m)
            length += 1 + m_prefixes[m].size() + rating(team.members[m]).size() + 2 + note(team.members[m]).size();
        QString text;
        text.reserve(length);
        for (std::size_t m = 0; m < m_prefixes.size(); ++m) {
            const Aligned& member = team.members[m];
            if (m > 0)
                text += u'\n';
            text += m_prefixes[m];
            text += rating(member);
            if (const QString written = note(member); !written.isEmpty()) {
                text += u": "_s;
                text += written;
            }
        }
        return text;
    }

private:
    std::vector<QString> m_prefixes;
    std::vector<QString> m_ratings; // per stored value 0..10
};

Project combinedProject(const Project& first, const std::vector<QString>& names, const Team& team)
{
    Project combined;
    const CommentWriter comments(names);
    for (const Option& option : first.options())
        combined.appendOption(option.Name);
    std::vector<int> values; // one per member, reused for every median
    for (int criterion = 0; criterion < team.criteria; ++criterion) {
        values.clear();
        for (const Aligned& member : team.members)
            values.push_back(member.importance[static_cast<std::size_t>(criterion)]);
        combined.appendCriterion(first.criteria()[static_cast<std::size_t>(criterion)].Name, median(values, halfUp));
    }
    for (int criterion = 0; criterion < team.criteria; ++criterion) {
        for (int option = 0; option < team.options; ++option) {
            const std::size_t cell = team.cell(option, criterion);
            values.clear();
            for (const Aligned& member : team.members)
                values.push_back(member.value[cell] - kNeutralValue);
            combined.appendRating(option, criterion, comments.comment(team, cell),
                                  median(values, halfAwayFromZero) + kNeutralValue);
        }
    }
    return combined;
}

// Each cell's rating is one member's, every member equally likely.
OffsetChances memberDraw(const Team& team, int option, int criterion)
{
    const std::size_t cell = team.cell(option, criterion);
    int lowest = kValueMax;
    int highest = kValueMin;
    for (const Aligned& member : team.members) {
        lowest = std::min(lowest, member.value[cell]);
        highest = std::max(highest, member.value[cell]);
    }
    OffsetChances draw{lowest - kNeutralValue, std::vector<double>(static_cast<std::size_t>(highest - lowest + 1))};
    const double each = 1.0 / static_cast<double>(team.memberCount());
    for (const Aligned& member : team.members)
        draw.chance[static_cast<std::size_t>(member.value[cell] - lowest)] += each;
    return draw;
}

} // namespace

std::optional<TeamRefusal> teamRefusal(const std::vector<TeamMember>& members)
{
    const int count = static_cast<int>(members.size());
    if (count < kTeamMin)
        return TeamRefusal{Kind::TooFew, count, {}};
    if (count > kTeamMax)
        return TeamRefusal{Kind::TooMany, kTeamMax, {}};
    const Project& first = members.front().project;
    for (int member = 0; member < count; ++member) {
        const Project& own = members[static_cast<std::size_t>(member)].project;
        if (auto refusal = namesRefusal(member, optionNames(first), optionNames(own), Kind::OptionTwice,
                                        Kind::OptionMissing, Kind::OptionExtra))
            return refusal;
        if (auto refusal = namesRefusal(member, criterionNames(first), criterionNames(own), Kind::CriterionTwice,
                                        Kind::CriterionMissing, Kind::CriterionExtra))
            return refusal;
    }
    return std::nullopt;
}

QString memberName(const QString& file)
{
    QString name = QFileInfo(file).fileName();
    if (name.endsWith(u".pnx"_s))
        name.chop(4);
    return name;
}

TeamResult analyseTeam(const std::vector<TeamMember>& members)
{
    TeamResult result;
    if (members.empty())
        return result;
    const Project& first = members.front().project;
    Team team{first.optionCount(), first.criterionCount(), {}};
    std::vector<QString> names;
    for (const TeamMember& member : members) {
        team.members.push_back(align(first, member.project));
        names.push_back(memberName(member.file));
    }
    result.members = memberResults(members, team);
    std::vector<int> scores;
    for (int option = 0; option < team.options; ++option) {
        TeamOption& entry = result.options.emplace_back();
        entry.score = team.score(team.teamSum(option));
        entry.lowest = entry.highest = result.members.front().scores[static_cast<std::size_t>(option)];
        for (const MemberResult& member : result.members) {
            entry.lowest = std::min(entry.lowest, member.scores[static_cast<std::size_t>(option)]);
            entry.highest = std::max(entry.highest, member.scores[static_cast<std::size_t>(option)]);
        }
        scores.push_back(entry.score);
    }
    result.best = bestOf(scores);
    if (!result.best.empty())
        result.maximum = scores[static_cast<std::size_t>(result.best.front())];
    judgeAgreement(result);
    result.disagreements = disagreements(team);
    result.combined = combinedProject(first, names, team);
    std::vector<int> importance;
    for (const Criterion& criterion : result.combined.criteria())
        importance.push_back(criterion.Importance);
    result.chance = chanceOfBeingBest(team.options, importance,
                                      [&](int option, int criterion) { return memberDraw(team, option, criterion); });
    return result;
}

const char* teamVerdictName(TeamVerdict verdict)
{
    switch (verdict) {
    case TeamVerdict::Undecided:
        return "undecided";
    case TeamVerdict::Unanimous:
        return "unanimous";
    case TeamVerdict::Majority:
        return "majority";
    case TeamVerdict::Split:
        return "split";
    }
    return "";
}

Project blankCopy(const Project& project)
{
    Project blank;
    for (const Option& option : project.options())
        blank.appendOption(option.Name);
    for (const Criterion& criterion : project.criteria())
        blank.appendCriterion(criterion.Name, criterion.Importance);
    for (const Rating& rating : project.ratings())
        blank.appendRating(rating.IndexOption, rating.IndexCriteria, QString(), kNeutralValue);
    return blank;
}

} // namespace ponderix
