// The team analysis on a team small enough to work out by hand, and against
// a plain recomputation from the rule (every draw of the members' ratings
// enumerated) on small random teams whose files list names in any order.
#include "evaluation/Team.h"

#include "evaluation/ResultPages.h"
#include "project/Project.h"

#include <QImage>

#include <QStringList>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <optional>
#include <random>
#include <tuple>

using namespace ponderix;
using namespace Qt::StringLiterals;

namespace {

// One member's copy: the entries in the member's own order, importances by
// criterion name, rating offsets by (option name, criterion name).
struct Copy {
    QString file;
    QStringList options;
    QStringList criteria;
    std::map<QString, int> importance;
    std::map<std::pair<QString, QString>, int> offset;
    std::map<std::pair<QString, QString>, QString> comment;
};

TeamMember member(const Copy& copy)
{
    Project project;
    for (const QString& option : copy.options)
        project.appendOption(option);
    for (const QString& criterion : copy.criteria)
        project.appendCriterion(criterion, copy.importance.at(criterion.trimmed()));
    for (int c = 0; c < copy.criteria.size(); ++c) {
        for (int o = 0; o < copy.options.size(); ++o) {
            const std::pair cell{copy.options[o].trimmed(), copy.criteria[c].trimmed()};
            const auto comment = copy.comment.find(cell);
            project.appendRating(o, c, comment == copy.comment.end() ? QString() : comment->second,
                                 copy.offset.at(cell) + kNeutralValue);
        }
    }
    return {copy.file, std::move(project)};
}

// round(4 x sum / divisor), halves away from zero, in whole numbers.
int roundedScore(long long sum, long long divisor)
{
    if (divisor == 0)
        return 0;
    const long long scaled = 4 * std::abs(sum);
    const long long rounded = (2 * scaled + divisor) / (2 * divisor);
    return static_cast<int>(sum < 0 ? -rounded : rounded);
}

// anna lists X, Y and P, Q; ben lists them the other way round.
std::vector<Copy> handTeam()
{
    Copy anna{u"/work/team/anna.pnx"_s, {u"X"_s, u"Y"_s}, {u"P"_s, u"Q"_s}, {{u"P"_s, 2}, {u"Q"_s, 1}}, {}, {}};
    anna.offset = {{{u"X"_s, u"P"_s}, 2}, {{u"X"_s, u"Q"_s}, -1}, {{u"Y"_s, u"P"_s}, 0}, {{u"Y"_s, u"Q"_s}, 3}};
    Copy ben{u"ben.pnx"_s, {u"Y"_s, u"X"_s}, {u"Q"_s, u"P"_s}, {{u"P"_s, 4}, {u"Q"_s, 2}}, {}, {}};
    ben.offset = {{{u"X"_s, u"P"_s}, 1}, {{u"X"_s, u"Q"_s}, 1}, {{u"Y"_s, u"P"_s}, -2}, {{u"Y"_s, u"Q"_s}, 0}};
    ben.comment = {{{u"X"_s, u"P"_s}, u"cheap"_s}};
    return {anna, ben};
}

std::vector<TeamMember> members(const std::vector<Copy>& copies)
{
    std::vector<TeamMember> all;
    for (const Copy& copy : copies)
        all.push_back(member(copy));
    return all;
}

} // namespace

// Worked by hand. anna: X 2*2 + 1*(-1) = 3, Y 0 + 3 = 3, both score 6.
// ben: X 4*1 + 2*1 = 6 (12), Y -8 + 0 = -8 (-16). Team: X 4*9/4 = 9,
// Y 4*(-5)/4 = -5. Impacts: Y/P 3 - (-9) = 12, Y/Q 1 - (-8) = 9, X/P
// 13 - 7 = 6, X/Q 11 - 5 = 6. Combined: P median(2,4) = 3, Q (1+2)/2 up to
// 2; X/P (2+1)/2 away from zero to 2, Y/Q (3+0)/2 to 2, Y/P -1, X/Q 0.
// Chance with importances 3 and 2: X scores 8, 16, 2, 10 and Y 12, 0, 0,
// -12, each a quarter: X is best 3.25/4 of the time, Y 0.75/4.
TEST(Team, HandWorkedTeam)
{
    const TeamResult team = analyseTeam(members(handTeam()));

    ASSERT_EQ(team.members.size(), 2u);
    EXPECT_EQ(team.members[0].name, u"anna"_s);
    EXPECT_EQ(team.members[0].scores, (std::vector{6, 6}));
    EXPECT_EQ(team.members[0].best, (std::vector{0, 1}));
    EXPECT_EQ(team.members[1].scores, (std::vector{12, -16}));
    EXPECT_EQ(team.members[1].best, (std::vector{0}));
    ASSERT_EQ(team.options.size(), 2u);
    EXPECT_EQ(std::tie(team.options[0].score, team.options[0].lowest, team.options[0].highest), std::tuple(9, 6, 12));
    EXPECT_EQ(std::tie(team.options[1].score, team.options[1].lowest, team.options[1].highest), std::tuple(-5, -16, 6));
    EXPECT_EQ(team.best, (std::vector{0}));
    EXPECT_EQ(team.maximum, 9);
    EXPECT_EQ(team.agreeing, 2);
    EXPECT_EQ(team.verdict, TeamVerdict::Unanimous);

    const std::vector<std::tuple<int, int, int, std::vector<int>>> expected = {{1, 0, 12, {0, -2}},
                                                                               {1, 1, 9, {3, 0}},
                                                                               {0, 0, 6, {2, 1}},
                                                                               {0, 1, 6, {-1, 1}}};
    ASSERT_EQ(team.disagreements.size(), expected.size());
    for (std::size_t at = 0; at < expected.size(); ++at) {
        const Disagreement& found = team.disagreements[at];
        EXPECT_EQ(std::tie(found.option, found.criterion, found.impact, found.ratings), expected[at]) << at;
    }

    const Project& combined = team.combined;
    EXPECT_EQ(combined.criteria()[0].Importance, 3);
    EXPECT_EQ(combined.criteria()[1].Importance, 2);
    EXPECT_EQ(combined.ratingOf(0, 0)->Value - kNeutralValue, 2);
    EXPECT_EQ(combined.ratingOf(0, 1)->Value - kNeutralValue, 0);
    EXPECT_EQ(combined.ratingOf(1, 0)->Value - kNeutralValue, -1);
    EXPECT_EQ(combined.ratingOf(1, 1)->Value - kNeutralValue, 2);
    EXPECT_EQ(combined.ratingOf(0, 0)->Comment, u"anna (+2)\nben (+1): cheap"_s);
    EXPECT_EQ(combined.ratingOf(1, 0)->Comment, u"anna (0)\nben (-2)"_s);
    EXPECT_TRUE(combined.path().isEmpty());

    ASSERT_EQ(team.chance.size(), 2u);
    EXPECT_DOUBLE_EQ(team.chance[0], 3.25 / 4);
    EXPECT_DOUBLE_EQ(team.chance[1], 0.75 / 4);
}

TEST(Team, AgreementVerdicts)
{
    // Three or four members, each rating one criterion; the offsets make each
    // member's own best as listed.
    struct Case {
        std::vector<std::vector<int>> offsets; // per member: X, Y
        TeamVerdict verdict;
        int agreeing;
    };
    const Case cases[] = {
        {{{3, 0}, {2, 1}, {1, 1}}, TeamVerdict::Unanimous, 3}, // the tie of the third includes X
        {{{5, 0}, {4, 0}, {0, 1}}, TeamVerdict::Majority, 2},  // two of three
        {{{5, 0}, {0, 1}, {0, 1}}, TeamVerdict::Split, 1},
        {{{5, 0}, {5, 0}, {0, 1}, {1, 2}}, TeamVerdict::Split, 2}, // half of four is no majority
        {{{2, 0}, {0, 2}, {1, 1}}, TeamVerdict::Undecided, 1},     // the team ties X and Y; only a tie includes both
    };
    for (const Case& c : cases) {
        std::vector<Copy> copies;
        for (std::size_t m = 0; m < c.offsets.size(); ++m) {
            Copy copy{QString::number(m), {u"X"_s, u"Y"_s}, {u"P"_s}, {{u"P"_s, 3}}, {}, {}};
            copy.offset = {{{u"X"_s, u"P"_s}, c.offsets[m][0]}, {{u"Y"_s, u"P"_s}, c.offsets[m][1]}};
            copies.push_back(copy);
        }
        const TeamResult team = analyseTeam(members(copies));
        EXPECT_EQ(team.verdict, c.verdict) << teamVerdictName(c.verdict);
        EXPECT_EQ(team.agreeing, c.agreeing) << teamVerdictName(c.verdict);
    }
}

TEST(Team, RefusesFilesOfAnotherDecision)
{
    using Kind = TeamRefusal::Kind;
    struct Case {
        const char* what;
        std::function<void(Copy&)> change; // to ben's copy
        std::optional<Kind> kind;
        QString name;
    };
    const Case cases[] = {
        {"blanks around names still match",
         [](Copy& ben) {
             ben.options = {u"  Y"_s, u"X "_s};
             ben.criteria = {u" Q "_s, u"P"_s};
         },
         std::nullopt,
         {}},
        {"option missing", [](Copy& ben) { ben.options = {u"X"_s}; }, Kind::OptionMissing, u"Y"_s},
        {"option renamed",
         [](Copy& ben) {
             ben.options = {u"X"_s, u"Why"_s};
         },
         Kind::OptionMissing, u"Y"_s},
        {"option extra",
         [](Copy& ben) {
             ben.options << u"Z"_s;
             ben.offset[{u"Z"_s, u"P"_s}] = ben.offset[{u"Z"_s, u"Q"_s}] = 0;
         },
         Kind::OptionExtra, u"Z"_s},
        {"option twice",
         [](Copy& ben) {
             ben.options = {u"X"_s, u"Y"_s, u" X"_s};
         },
         Kind::OptionTwice, u" X"_s},
        {"criterion missing", [](Copy& ben) { ben.criteria = {u"Q"_s}; }, Kind::CriterionMissing, u"P"_s},
        {"criterion extra",
         [](Copy& ben) {
             ben.criteria << u"R"_s;
             ben.importance[u"R"_s] = 1;
             ben.offset[{u"X"_s, u"R"_s}] = ben.offset[{u"Y"_s, u"R"_s}] = 0;
         },
         Kind::CriterionExtra, u"R"_s},
        {"criterion twice",
         [](Copy& ben) {
             ben.criteria = {u"P"_s, u"Q"_s, u"Q"_s};
         },
         Kind::CriterionTwice, u"Q"_s},
    };
    for (const Case& c : cases) {
        std::vector<Copy> copies = handTeam();
        for (const QString& option : {u"X"_s, u"Y"_s, u"Why"_s})
            for (const QString& criterion : {u"P"_s, u"Q"_s})
                copies[1].offset.try_emplace({option, criterion}, 0);
        c.change(copies[1]);
        const std::optional<TeamRefusal> refusal = teamRefusal(members(copies));
        ASSERT_EQ(refusal.has_value(), c.kind.has_value()) << c.what;
        if (!refusal)
            continue;
        EXPECT_EQ(refusal->kind, *c.kind) << c.what;
        EXPECT_EQ(refusal->member, 1) << c.what;
        EXPECT_EQ(refusal->name, c.name) << c.what;
    }
    const std::vector<TeamMember> team = members(handTeam());
    EXPECT_EQ(teamRefusal({team[0]})->kind, Kind::TooFew);
    EXPECT_EQ(teamRefusal(std::vector<TeamMember>(kTeamMax, team[0])), std::nullopt);
    EXPECT_EQ(teamRefusal(std::vector<TeamMember>(kTeamMax + 1, team[0]))->kind, Kind::TooMany);
}

// Random teams against the rule recomputed from scratch: scores in whole
// numbers, medians from the sorted ratings, impacts by rescoring the cell at
// both ends, and the chance by enumerating every draw of a member per cell.
TEST(Team, RandomTeamsFollowTheRule)
{
    std::mt19937 random(20261207);
    const auto pick = [&](int low, int high) { return std::uniform_int_distribution(low, high)(random); };
    for (int round = 0; round < 60; ++round) {
        const int memberCount = pick(2, 3);
        const int optionCount = pick(1, 3);
        const int criterionCount = pick(0, 2);
        const int cells = optionCount * criterionCount;
        if (cells > 0 && std::pow(memberCount, cells) > 800)
            continue;
        std::vector<std::vector<int>> importance(memberCount); // [member][criterion]
        std::vector<std::vector<int>> offset(memberCount);     // [member][option * criteria + criterion]
        std::vector<Copy> copies;
        for (int m = 0; m < memberCount; ++m) {
            Copy copy{u"m"_s + QString::number(m), {}, {}, {}, {}, {}};
            for (int o = 0; o < optionCount; ++o)
                copy.options << u"O"_s + QString::number(o);
            for (int c = 0; c < criterionCount; ++c) {
                copy.criteria << u"C"_s + QString::number(c);
                importance[m].push_back(pick(1, 5));
                copy.importance[copy.criteria.back()] = importance[m].back();
            }
            for (int o = 0; o < optionCount; ++o) {
                for (int c = 0; c < criterionCount; ++c) {
                    offset[m].push_back(pick(-2, 2) * (m == 0 ? 1 : pick(1, 2)));
                    copy.offset[{copy.options[o], copy.criteria[c]}] = offset[m].back();
                }
            }
            std::shuffle(copy.options.begin(), copy.options.end(), random);
            std::shuffle(copy.criteria.begin(), copy.criteria.end(), random);
            copies.push_back(copy);
        }
        // The first member's order is the team's: undo its shuffle.
        std::sort(copies[0].options.begin(), copies[0].options.end());
        std::sort(copies[0].criteria.begin(), copies[0].criteria.end());
        const TeamResult team = analyseTeam(members(copies));
        const auto memberSum = [&](int m, int o, int cell, int cellOffset) {
            long long sum = 0;
            for (int c = 0; c < criterionCount; ++c) {
                const int at = o * criterionCount + c;
                sum += importance[m][c] * (at == cell ? cellOffset : offset[m][at]);
            }
            return sum;
        };
        std::vector<int> teamScores;
        for (int o = 0; o < optionCount; ++o) {
            long long sum = 0;
            for (int m = 0; m < memberCount; ++m) {
                sum += memberSum(m, o, -1, 0);
                EXPECT_EQ(team.members[m].scores[o], roundedScore(memberSum(m, o, -1, 0), criterionCount));
            }
            teamScores.push_back(roundedScore(sum, static_cast<long long>(criterionCount) * memberCount));
            EXPECT_EQ(team.options[o].score, teamScores.back()) << round;
        }
        const int top = *std::max_element(teamScores.begin(), teamScores.end());
        EXPECT_EQ(team.maximum, top);

        // Impacts: the cell at every member's highest, then lowest, rating.
        std::vector<std::tuple<int, int, int>> impacts; // -impact, option, criterion
        for (int o = 0; o < optionCount; ++o) {
            for (int c = 0; c < criterionCount; ++c) {
                const int at = o * criterionCount + c;
                int low = 99, high = -99;
                for (int m = 0; m < memberCount; ++m) {
                    low = std::min(low, offset[m][at]);
                    high = std::max(high, offset[m][at]);
                }
                long long atHigh = 0, atLow = 0;
                for (int m = 0; m < memberCount; ++m) {
                    atHigh += memberSum(m, o, at, high);
                    atLow += memberSum(m, o, at, low);
                }
                const long long divisor = static_cast<long long>(criterionCount) * memberCount;
                const int impact = roundedScore(atHigh, divisor) - roundedScore(atLow, divisor);
                if (impact > 0)
                    impacts.emplace_back(-impact, o, c);
            }
        }
        std::sort(impacts.begin(), impacts.end());
        impacts.resize(std::min<std::size_t>(impacts.size(), kDisagreementsShown));
        ASSERT_EQ(team.disagreements.size(), impacts.size()) << round;
        for (std::size_t at = 0; at < impacts.size(); ++at) {
            const Disagreement& found = team.disagreements[at];
            EXPECT_EQ(std::tuple(-found.impact, found.option, found.criterion), impacts[at]) << round;
        }

        // Medians, then every draw of one member per cell.
        std::vector<int> medianImportance;
        for (int c = 0; c < criterionCount; ++c) {
            std::vector<double> values;
            for (int m = 0; m < memberCount; ++m)
                values.push_back(importance[m][c]);
            std::sort(values.begin(), values.end());
            const double middle = (values[(memberCount - 1) / 2] + values[memberCount / 2]) / 2;
            medianImportance.push_back(static_cast<int>(std::floor(middle + 0.5)));
            EXPECT_EQ(team.combined.criteria()[c].Importance, medianImportance.back()) << round;
        }
        for (int o = 0; o < optionCount; ++o) {
            for (int c = 0; c < criterionCount; ++c) {
                std::vector<double> values;
                for (int m = 0; m < memberCount; ++m)
                    values.push_back(offset[m][o * criterionCount + c]);
                std::sort(values.begin(), values.end());
                const double middle = (values[(memberCount - 1) / 2] + values[memberCount / 2]) / 2;
                const int rounded =
                    static_cast<int>(middle < 0 ? -std::floor(-middle + 0.5) : std::floor(middle + 0.5));
                EXPECT_EQ(team.combined.ratingOf(o, c)->Value - kNeutralValue, rounded) << round;
            }
        }
        std::vector<double> chance(optionCount, 0.0);
        const int draws = static_cast<int>(std::pow(memberCount, cells));
        for (int draw = 0; draw < draws; ++draw) {
            std::vector<int> scores;
            int code = draw;
            for (int o = 0; o < optionCount; ++o) {
                long long sum = 0;
                for (int c = 0; c < criterionCount; ++c) {
                    sum += medianImportance[c] * offset[code % memberCount][o * criterionCount + c];
                    code /= memberCount;
                }
                scores.push_back(roundedScore(sum, criterionCount));
            }
            const int best = *std::max_element(scores.begin(), scores.end());
            for (int o = 0; o < optionCount; ++o)
                chance[o] += scores[o] == best ? 1.0 / draws : 0.0;
        }
        for (int o = 0; o < optionCount; ++o)
            EXPECT_NEAR(team.chance[o], chance[o], 1e-12) << round;
    }
}

TEST(Team, BlankCopyKeepsTheDecisionAndClearsTheRatings)
{
    const TeamMember ben = members(handTeam())[1];
    const Project blank = blankCopy(ben.project);
    ASSERT_EQ(blank.optionCount(), 2);
    ASSERT_EQ(blank.criterionCount(), 2);
    EXPECT_EQ(blank.options()[0].Name, u"Y"_s);
    EXPECT_EQ(blank.criteria()[1].Name, u"P"_s);
    EXPECT_EQ(blank.criteria()[1].Importance, 4);
    ASSERT_EQ(blank.ratingCount(), 4);
    for (const Rating& rating : blank.ratings()) {
        EXPECT_EQ(rating.Value, kNeutralValue);
        EXPECT_TRUE(rating.Comment.isEmpty());
    }
    EXPECT_EQ(memberName(u"/a.b/team.pnx.pnx"_s), u"team.pnx"_s);
    EXPECT_EQ(memberName(u"notes.txt"_s), u"notes.txt"_s);
}

// Each member's own best are framed in the option's colour: down the left
// edge of the first two score columns (x 135 and 195 on the page) the hand
// team shows A framed for anna, ben and the team, B only for anna (her tie).
TEST(TeamPage, FramesEveryMembersOwnBestAndGrowsInsteadOfCutting)
{
    const TeamResult team = analyseTeam(members(handTeam()));
    const QImage page = buildTeamPage(team, u"anna"_s);
    ASSERT_FALSE(page.isNull());
    const auto framedCells = [&](int x, QRgb colour) {
        int runs = 0;
        bool inside = false;
        for (int y = 0; y < page.height(); ++y) {
            const bool hit = page.pixel(x, y) == colour;
            runs += hit && !inside ? 1 : 0;
            inside = hit;
        }
        return runs;
    };
    EXPECT_EQ(framedCells(136, optionColour(0)), 3);
    EXPECT_EQ(framedCells(196, optionColour(1)), 1);

    std::vector<Copy> copies = handTeam();
    for (Copy& copy : copies) {
        std::map<std::pair<QString, QString>, int> renamed;
        for (const auto& [cell, offset] : copy.offset)
            renamed[{cell.first.repeated(200), cell.second}] = offset;
        copy.offset = renamed;
        for (QString& option : copy.options)
            option = option.repeated(200);
    }
    EXPECT_GT(buildTeamPage(analyseTeam(members(copies)), u"anna"_s).height(), page.height());
}
