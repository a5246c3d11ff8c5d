// The robustness analysis on projects small enough to work out by hand, and
// against a plain rescoring of every single change and every combination of
// uncertain ratings on small random matrices.
#include "evaluation/Robustness.h"

#include "evaluation/Scoring.h"
#include "project/Project.h"
#include "project/ProjectReader.h"
#include "tests/TestSupport.h"
#include "tests/evaluation/PageTestSupport.h"

#include <map>
#include <numeric>
#include <random>
#include <sstream>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

using Kind = SingleChange::Kind;
using Options = std::vector<int>;

// A project of one row of values per option, one importance per criterion.
Project matrix(const std::vector<int>& importances, const std::vector<std::vector<int>>& values)
{
    return scoredProject(static_cast<int>(values.size()), importances, [&](int option, int criterion) {
        return values[static_cast<std::size_t>(option)][static_cast<std::size_t>(criterion)];
    });
}

// Importances 1..5 and values from `lowest` to `highest` at random.
Project randomMatrix(std::mt19937& random, int options, int criteria, int lowest = 0, int highest = 10)
{
    std::uniform_int_distribution<int> importance(1, 5);
    std::uniform_int_distribution<int> value(lowest, highest);
    std::vector<int> importances;
    for (int c = 0; c < criteria; ++c)
        importances.push_back(importance(random));
    std::vector<std::vector<int>> values(static_cast<std::size_t>(options));
    for (auto& row : values) {
        for (int c = 0; c < criteria; ++c)
            row.push_back(value(random));
    }
    return matrix(importances, values);
}

SingleChange importanceChange(int criterion, int from, int to, Options best)
{
    return {Kind::Importance, criterion, -1, from, to, std::move(best)};
}

SingleChange ratingChange(int criterion, int option, int from, int to, Options best)
{
    return {Kind::Rating, criterion, option, from, to, std::move(best)};
}

std::string describe(const std::vector<SingleChange>& changes)
{
    // Streamed rather than joined with +: GCC 12 at -O3 warns, wrongly, that
    // such a chain of std::string additions may overlap.
    std::ostringstream text;
    for (const SingleChange& change : changes) {
        text << (change.kind == Kind::Importance ? "importance c" : "rating c") << change.criterion << " o"
             << change.option << " " << change.from << "->" << change.to << " best";
        for (int option : change.best)
            text << " " << option;
        text << "; ";
    }
    return text.str();
}

// `more`: how many changes of those steps there are besides `expected`.
::testing::AssertionResult sameChanges(const std::optional<SmallestChanges>& found, int steps,
                                       const std::vector<SingleChange>& expected, int more = 0)
{
    if (!found)
        return ::testing::AssertionFailure() << "no change found, expected " << describe(expected);
    if (found->steps != steps || found->changes != expected || found->more != more) {
        return ::testing::AssertionFailure()
               << found->steps << " steps: " << describe(found->changes) << "\nexpected " << steps
               << " steps: " << describe(expected) << ", " << found->more << " more, expected " << more;
    }
    return ::testing::AssertionSuccess();
}

// The plain way: change a copy of the project, score it all again and read
// the best options the results window would name.
Options bestAfterRescoring(Project project)
{
    ComputeScores(project);
    return bestOptions(project).indexes;
}

struct Expected {
    std::optional<SmallestChanges> closest;
    std::vector<std::optional<SmallestChanges>> lifts; // per option
};

void offer(std::optional<SmallestChanges>& smallest, const SingleChange& change)
{
    if (smallest && change.steps() > smallest->steps)
        return;
    if (!smallest || change.steps() < smallest->steps)
        smallest = SmallestChanges{change.steps(), {}};
    if (smallest->changes.size() < 10)
        smallest->changes.push_back(change);
    else
        ++smallest->more;
}

Expected byRescoringEveryChange(const Project& project)
{
    Expected expected;
    expected.lifts.resize(project.options().size());
    const Options now = bestAfterRescoring(project);
    std::vector<SingleChange> all;
    for (const Criterion& criterion : project.criteria()) {
        for (int importance = 1; importance <= 5; ++importance) {
            if (importance == criterion.Importance)
                continue;
            Project changed = project;
            changed.setImportance(criterion.Index, importance);
            all.push_back(
                importanceChange(criterion.Index, criterion.Importance, importance, bestAfterRescoring(changed)));
        }
    }
    for (const Criterion& criterion : project.criteria()) {
        for (const Option& option : project.options()) {
            const int value = project.ratingOf(option.Index, criterion.Index)->Value;
            for (int newValue = 0; newValue <= 10; ++newValue) {
                if (newValue == value)
                    continue;
                Project changed = project;
                changed.setValue(option.Index, criterion.Index, newValue);
                all.push_back(
                    ratingChange(criterion.Index, option.Index, value - 5, newValue - 5, bestAfterRescoring(changed)));
            }
        }
    }
    for (const SingleChange& change : all) {
        if (change.best != now)
            offer(expected.closest, change);
        for (int option : change.best) {
            if (std::find(now.begin(), now.end(), option) == now.end())
                offer(expected.lifts[static_cast<std::size_t>(option)], change);
        }
    }
    return expected;
}

// Every combination of rating moves, each scored from scratch: exact, and
// feasible for a handful of ratings.
std::vector<double> byEnumeratingEveryOutcome(const Project& project, int spread)
{
    const std::size_t ratings = project.ratings().size();
    const int choices = 2 * spread + 1;
    std::vector<int> draw(ratings, -spread);
    std::vector<double> chance(project.options().size(), 0.0);
    std::size_t outcomes = 1;
    for (std::size_t i = 0; i < ratings; ++i)
        outcomes *= static_cast<std::size_t>(choices);
    for (std::size_t outcome = 0; outcome < outcomes; ++outcome) {
        Project moved = project;
        for (std::size_t i = 0; i < ratings; ++i) {
            const Rating& rating = project.ratings()[i];
            moved.setValue(rating.IndexOption, rating.IndexCriteria, rating.Value + draw[i]); // clamps
        }
        for (int option : bestAfterRescoring(moved))
            chance[static_cast<std::size_t>(option)] += 1.0 / static_cast<double>(outcomes);
        for (std::size_t i = 0; i < ratings && ++draw[i] > spread; ++i)
            draw[i] = -spread;
    }
    return chance;
}

} // namespace

TEST(RobustnessOfTheDemo, AgreesWithTheResultsWindowAndHandWork)
{
    ReadResult read = readProjectFile(dataPath("demo.pnx"));
    ASSERT_TRUE(read.ok());
    Project demo = std::move(read.project());
    const Project untouched = demo;
    const Robustness found = analyseRobustness(demo);

    // Sums 49, 11 and -21 over three criteria.
    EXPECT_EQ(found.scores, (std::vector<int>{65, 15, -28}));
    EXPECT_EQ(found.best, Options{0});
    EXPECT_EQ(found.maximum, 65);
    EXPECT_EQ(found.runnerUp, Options{1});
    EXPECT_EQ(found.runnerUpScore, 15);
    EXPECT_EQ(found.lead, 50);
    // A's offsets beat B's and C's under every criterion, so no importance
    // moves it; only A's price falling eight points (sum 9, score 12) does.
    for (const ImportanceWhatIf& whatIf : found.importance) {
        for (const Options& best : whatIf.best)
            EXPECT_EQ(best, Options{0});
    }
    EXPECT_EQ(found.importance[0].current, 5);
    EXPECT_TRUE(sameChanges(found.closest, 8, {ratingChange(0, 0, 4, -4, {1})}));
    EXPECT_EQ(found.verdict, RobustnessVerdict::Robust);
    ASSERT_EQ(found.challengers.size(), 2u);
    EXPECT_TRUE(sameChanges(found.challengers[0].lift, 8, {ratingChange(0, 0, 4, -4, {1})}));
    EXPECT_EQ(found.challengers[1].option, 2);
    EXPECT_FALSE(found.challengers[1].lift);
    // One point either way moves a sum by at most 12: A stays above 37.
    ASSERT_EQ(found.chance.size(), 3u);
    EXPECT_NEAR(found.chance[0], 1.0, 1e-12);
    EXPECT_NEAR(found.chance[1], 0.0, 1e-12);
    EXPECT_NEAR(found.chance[2], 0.0, 1e-12);

    // The analysis reads; the project keeps every value and its stored scores.
    EXPECT_EQ(demo.ratings().size(), untouched.ratings().size());
    for (std::size_t i = 0; i < demo.ratings().size(); ++i)
        EXPECT_EQ(demo.ratings()[i].Value, untouched.ratings()[i].Value);
    for (std::size_t i = 0; i < demo.options().size(); ++i)
        EXPECT_EQ(demo.options()[i].score, untouched.options()[i].score);
}

TEST(RobustnessEdges, EmptyAndDegenerateProjects)
{
    {
        SCOPED_TRACE("no options");
        const Robustness found = analyseRobustness(matrix({3, 4}, {}));
        EXPECT_TRUE(found.best.empty());
        EXPECT_FALSE(found.maximum);
        EXPECT_FALSE(found.runnerUpScore);
        EXPECT_FALSE(found.lead);
        EXPECT_EQ(found.verdict, RobustnessVerdict::Undecided);
        ASSERT_EQ(found.importance.size(), 2u);
        for (const Options& best : found.importance[1].best)
            EXPECT_TRUE(best.empty());
        EXPECT_FALSE(found.closest);
        EXPECT_TRUE(found.challengers.empty());
        EXPECT_TRUE(found.chance.empty());
    }
    {
        SCOPED_TRACE("no criteria: every score is 0");
        const Robustness found = analyseRobustness(matrix({}, {{}, {}}));
        EXPECT_EQ(found.scores, (std::vector<int>{0, 0}));
        EXPECT_EQ(found.best, (Options{0, 1}));
        EXPECT_FALSE(found.runnerUpScore);
        EXPECT_EQ(found.verdict, RobustnessVerdict::Undecided);
        EXPECT_TRUE(found.importance.empty());
        EXPECT_FALSE(found.closest);
        EXPECT_EQ(found.chance, (std::vector<double>{1.0, 1.0}));
    }
    {
        SCOPED_TRACE("one option is always best");
        const Robustness found = analyseRobustness(matrix({5, 1}, {{0, 10}}));
        EXPECT_EQ(found.best, Options{0});
        EXPECT_FALSE(found.runnerUpScore);
        EXPECT_FALSE(found.lead);
        EXPECT_FALSE(found.closest);
        EXPECT_EQ(found.verdict, RobustnessVerdict::Robust);
        EXPECT_TRUE(found.challengers.empty());
        ASSERT_EQ(found.chance.size(), 1u);
        EXPECT_NEAR(found.chance[0], 1.0, 1e-12);
    }
}

TEST(RobustnessChanges, HandWorkedCases)
{
    {
        SCOPED_TRACE("a tie: one step either way of either option breaks it");
        // Both 7 at importance 3: score 24 each.
        const Robustness found = analyseRobustness(matrix({3}, {{7}, {7}}));
        EXPECT_EQ(found.best, (Options{0, 1}));
        EXPECT_FALSE(found.runnerUpScore);
        EXPECT_EQ(found.verdict, RobustnessVerdict::Undecided);
        EXPECT_TRUE(sameChanges(found.closest, 1,
                                {ratingChange(0, 0, 2, 1, {1}), ratingChange(0, 0, 2, 3, {0}),
                                 ratingChange(0, 1, 2, 1, {0}), ratingChange(0, 1, 2, 3, {1})}));
        EXPECT_TRUE(found.challengers.empty());
        // Each scores 20, 24 or 28 with a third each: A >= B in 6 of 9 cases.
        ASSERT_EQ(found.chance.size(), 2u);
        EXPECT_NEAR(found.chance[0], 6.0 / 9.0, 1e-12);
        EXPECT_NEAR(found.chance[1], 6.0 / 9.0, 1e-12);
    }
    {
        SCOPED_TRACE("one step makes a tie");
        // A +1 at importance 1 scores 4, B neutral 0; any importance keeps A ahead.
        const Robustness found = analyseRobustness(matrix({1}, {{6}, {5}}));
        EXPECT_EQ(found.lead, 4);
        for (const Options& best : found.importance[0].best)
            EXPECT_EQ(best, Options{0});
        const std::vector<SingleChange> tie = {ratingChange(0, 0, 1, 0, {0, 1}), ratingChange(0, 1, 0, 1, {0, 1})};
        EXPECT_TRUE(sameChanges(found.closest, 1, tie));
        EXPECT_EQ(found.verdict, RobustnessVerdict::Fragile);
        ASSERT_EQ(found.challengers.size(), 1u);
        EXPECT_TRUE(sameChanges(found.challengers[0].lift, 1, tie));
    }
    {
        SCOPED_TRACE("two steps, and the importance changes come first");
        // A: +2 / -1, B: -1 / +2 at importances 3 and 1: sums 5 and -1,
        // scores 10 and -2. Price at 1 makes the sums 1 and 1; the second
        // criterion at k makes them 6 - k and 2k - 3, equal at 3.
        const Robustness found = analyseRobustness(matrix({3, 1}, {{7, 4}, {4, 7}}));
        EXPECT_EQ(found.scores, (std::vector<int>{10, -2}));
        EXPECT_EQ(found.importance[0].best[0], (Options{0, 1}));
        EXPECT_EQ(found.importance[1].best[1], Options{0});
        EXPECT_EQ(found.importance[1].best[2], (Options{0, 1}));
        EXPECT_EQ(found.importance[1].best[3], Options{1});
        // Ratings: A's price two points lower gives sums -1 and -1; B's two
        // points higher gives 5 and 5.
        EXPECT_TRUE(sameChanges(found.closest, 2,
                                {importanceChange(0, 3, 1, {0, 1}), importanceChange(1, 1, 3, {0, 1}),
                                 ratingChange(0, 0, 2, 0, {0, 1}), ratingChange(0, 1, -1, 1, {0, 1})}));
        EXPECT_EQ(found.verdict, RobustnessVerdict::Sensitive);
    }
    {
        SCOPED_TRACE("a winner no single change can move");
        // +100 against -100: one criterion's swing moves a score by 50 at most.
        const Robustness found = analyseRobustness(matrix({5, 5, 5, 5}, {{10, 10, 10, 10}, {0, 0, 0, 0}}));
        EXPECT_EQ(found.scores, (std::vector<int>{100, -100}));
        EXPECT_EQ(found.lead, 200);
        EXPECT_FALSE(found.closest);
        EXPECT_EQ(found.verdict, RobustnessVerdict::Robust);
        ASSERT_EQ(found.challengers.size(), 1u);
        EXPECT_FALSE(found.challengers[0].lift);
    }
}

TEST(RobustnessChanges, ATieOfManyKeepsTheFirstTenOfEachListAndCountsTheRest)
{
    // A at +1 under one criterion of importance 1 (score 4), twelve others
    // at 0. A one step down ties all thirteen; any other one step up ties
    // it with A: thirteen changes of one step, A's first.
    std::vector<std::vector<int>> values(13, {5});
    values[0] = {6};
    const Robustness found = analyseRobustness(matrix({1}, values));
    std::vector<SingleChange> first{ratingChange(0, 0, 1, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9})};
    first[0].moreBest = 3;
    for (int option = 1; option < 10; ++option)
        first.push_back(ratingChange(0, option, 0, 1, {0, option}));
    EXPECT_TRUE(sameChanges(found.closest, 1, first, 3));
    ASSERT_EQ(found.challengers.size(), 12u);
    EXPECT_TRUE(sameChanges(found.challengers[0].lift, 1, {first[0], first[1]}));
}

// Three steps or more to move the best choice make it robust, two steps
// sensitive, one fragile. A rated 6..9 against B at 5 under one criterion at
// importance 1: A falling to 5, or B rising to A's value, ties them, and no
// importance moves A's positive offset below B's zero.
TEST(RobustnessChanges, VerdictFollowsTheStepsOfTheClosestChange)
{
    const struct {
        int value;
        int steps;
        RobustnessVerdict verdict;
    } cases[] = {
        {6, 1, RobustnessVerdict::Fragile},
        {7, 2, RobustnessVerdict::Sensitive},
        {8, 3, RobustnessVerdict::Robust},
        {9, 4, RobustnessVerdict::Robust},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE("A at " + std::to_string(c.value));
        const Robustness found = analyseRobustness(matrix({1}, {{c.value}, {5}}));
        ASSERT_TRUE(found.closest);
        EXPECT_EQ(found.closest->steps, c.steps);
        EXPECT_EQ(found.verdict, c.verdict);
    }
}

TEST(RobustnessChanges, AgreeWithRescoringEveryChange)
{
    std::mt19937 random(20261207);
    for (int round = 0; round < 60; ++round) {
        const int options = 2 + round % 4;
        const int criteria = 1 + round % 5;
        // Half the projects keep their values close, so ties and small
        // leads come up often.
        const Project project =
            round % 2 ? randomMatrix(random, options, criteria, 3, 7) : randomMatrix(random, options, criteria, 0, 10);
        SCOPED_TRACE("round " + std::to_string(round));
        const Robustness found = analyseRobustness(project);
        const Expected expected = byRescoringEveryChange(project);
        ASSERT_EQ(found.closest.has_value(), expected.closest.has_value());
        if (expected.closest) {
            EXPECT_TRUE(
                sameChanges(found.closest, expected.closest->steps, expected.closest->changes, expected.closest->more));
        }
        for (const Challenger& challenger : found.challengers) {
            const auto& lift = expected.lifts[static_cast<std::size_t>(challenger.option)];
            ASSERT_EQ(challenger.lift.has_value(), lift.has_value()) << "option " << challenger.option;
            if (lift) {
                EXPECT_TRUE(sameChanges(challenger.lift, lift->steps, lift->changes, lift->more));
            }
        }
        for (const ImportanceWhatIf& whatIf : found.importance) {
            for (int k = 1; k <= 5; ++k) {
                Project changed = project;
                changed.setImportance(whatIf.criterion, k);
                EXPECT_EQ(whatIf.best[static_cast<std::size_t>(k - 1)], bestAfterRescoring(changed));
            }
        }
    }
}

TEST(RobustnessChance, HandWorkedDistributions)
{
    struct Case {
        const char* what;
        std::vector<std::vector<int>> values; // one criterion at importance 1
        int spread;
        double a, b;
    };
    const Case cases[] = {
        // A at 10 can only fall: 16 or 20 (2 in 3); B at 9 scores 12, 16 or 20.
        {"clamped at 10", {{10}, {9}}, 1, 8.0 / 9.0, 4.0 / 9.0},
        // The mirror image at the bottom of the range.
        {"clamped at 0", {{0}, {1}}, 1, 4.0 / 9.0, 8.0 / 9.0},
        // Two neutral ratings over five outcomes each: A >= B in 15 of 25.
        {"spread 2", {{5}, {5}}, 2, 15.0 / 25.0, 15.0 / 25.0},
        // A: 12, 16, 20 x3; B: 8, 12, 16, 20 x2 (out of five each).
        {"spread 2 clamped", {{10}, {9}}, 2, 20.0 / 25.0, 13.0 / 25.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::vector<double> chance = chanceOfBeingBest(matrix({1}, c.values), c.spread);
        ASSERT_EQ(chance.size(), 2u);
        EXPECT_NEAR(chance[0], c.a, 1e-12);
        EXPECT_NEAR(chance[1], c.b, 1e-12);
    }
}

TEST(RobustnessChance, AgreesWithEnumeratingEveryOutcome)
{
    std::mt19937 random(7);
    struct Shape {
        int options, criteria, spread;
    };
    // Three criteria make quotients of a third, where the rounding of the
    // score decides ties; edge values exercise the clamping.
    const Shape shapes[] = {{2, 3, 1}, {3, 2, 1}, {3, 3, 1}, {2, 3, 2}, {3, 2, 2}, {4, 2, 1}};
    for (const Shape& shape : shapes) {
        for (int round = 0; round < 3; ++round) {
            const Project project = randomMatrix(random, shape.options, shape.criteria);
            SCOPED_TRACE(std::to_string(shape.options) + " x " + std::to_string(shape.criteria) + " spread "
                         + std::to_string(shape.spread));
            const std::vector<double> expected = byEnumeratingEveryOutcome(project, shape.spread);
            const Robustness found = analyseRobustness(project, shape.spread);
            EXPECT_EQ(found.spread, shape.spread);
            ASSERT_EQ(found.chance.size(), expected.size());
            for (std::size_t i = 0; i < expected.size(); ++i)
                EXPECT_NEAR(found.chance[i], expected[i], 1e-9) << "option " << i;
        }
    }
}

namespace {

// Too many criteria to enumerate: each option's sums worked out by
// convolving every cell's moves in long double, with nothing left out, then
// the chance that every other option scores no more.
std::vector<double> byPlainConvolution(const Project& project, int spread)
{
    const int criteria = project.criterionCount();
    std::vector<std::vector<long double>> byScore; // per option, score + 100
    for (const Option& option : project.options()) {
        std::map<long long, long double> sums{{0, 1.0L}};
        for (const Criterion& criterion : project.criteria()) {
            std::map<long long, long double> moved;
            for (const auto& [sum, chance] : sums) {
                for (int draw = -spread; draw <= spread; ++draw) {
                    const int value = std::clamp(project.ratingOf(option.Index, criterion.Index)->Value + draw, 0, 10);
                    moved[sum + criterion.Importance * (value - 5)] += chance / (2 * spread + 1);
                }
            }
            sums = std::move(moved);
        }
        std::vector<long double> scores(201, 0.0L);
        for (const auto& [sum, chance] : sums)
            scores[static_cast<std::size_t>(scoreOfSum(sum, criteria) + 100)] += chance;
        byScore.push_back(std::move(scores));
    }
    std::vector<double> chance;
    for (std::size_t option = 0; option < byScore.size(); ++option) {
        long double total = 0.0L;
        for (std::size_t score = 0; score < 201; ++score) {
            long double othersAtMost = 1.0L;
            for (std::size_t other = 0; other < byScore.size(); ++other) {
                if (other != option)
                    othersAtMost *= std::accumulate(byScore[other].begin(), byScore[other].begin() + score + 1, 0.0L);
            }
            total += byScore[option][score] * othersAtMost;
        }
        chance.push_back(static_cast<double>(total));
    }
    return chance;
}

} // namespace

TEST(RobustnessChance, ManyCriteriaAgreeWithAPlainConvolution)
{
    // Enough criteria that the far ends of the sums fall below 1e-30 and
    // are left out; edge values exercise the clamping.
    std::mt19937 random(11);
    struct Shape {
        int options, criteria, spread;
    };
    for (const Shape& shape : {Shape{2, 150, 1}, Shape{3, 90, 2}, Shape{4, 70, 1}}) {
        const Project project = randomMatrix(random, shape.options, shape.criteria);
        const std::vector<double> expected = byPlainConvolution(project, shape.spread);
        const std::vector<double> found = chanceOfBeingBest(project, shape.spread);
        ASSERT_EQ(found.size(), expected.size());
        for (std::size_t i = 0; i < expected.size(); ++i)
            EXPECT_NEAR(found[i], expected[i], 1e-12) << shape.options << " x " << shape.criteria << ", option " << i;
    }
}

TEST(RobustnessOrder, MostSensitiveCriteriaFirst)
{
    // Offsets A +2, 0, -1 and B -1, 0, +2 at importances 3, 3, 2: sums 4 and 1.
    const Robustness found = analyseRobustness(matrix({3, 3, 2}, {{7, 5, 4}, {4, 5, 7}}));
    ASSERT_EQ(found.best, Options{0});
    // Criterion 3 one step up ties (3 and 3) and changes the best at 3, 4
    // and 5; criterion 1 one step down ties (2 and 2) and changes it at 1 and
    // 2; criterion 2 weighs zero offsets and never does.
    EXPECT_EQ(found.importance[2].best[2], (Options{0, 1}));
    EXPECT_EQ(found.importance[0].best[1], (Options{0, 1}));
    EXPECT_EQ(criteriaBySensitivity(found), (std::vector<int>{2, 0, 1}));
}

namespace {

const QRgb kBlue = qRgb(0, 0, 255); // option A's colour
const QRgb kRed = qRgb(255, 0, 0);  // option B's colour
const QRgb kWhite = qRgb(255, 255, 255);
const QRgb kBlack = qRgb(0, 0, 0);

// The what-if grid: rows of 20 pixels from y 234, five cells of 60 x 16
// pixels from x 370, 64 apart.
// Cells 60 wide at x 370, 64 apart; rows 20 apart from the grid's top,
// which stands at 234 when the findings take no more than their rows.
QPoint cellCorner(int row, int importance, int top = 234)
{
    return {370 + 64 * (importance - 1), top + 20 * row};
}

// Where the grid starts: the top of the first criterion's cell at importance
// 5, when option A (blue) is best there.
int gridTop(const QImage& page)
{
    for (int y = 190; y < page.height(); ++y) {
        if ((page.pixel(371 + 64 * 4, y) | 0xFF000000u) == qRgb(0, 0, 255))
            return y;
    }
    return -1;
}

QRgb rgb(const QImage& page, QPoint at)
{
    return page.pixel(at) | 0xFF000000u;
}

} // namespace

TEST(RobustnessPage, GridCellsShowTheBestOptionAndFrameTheCurrentImportance)
{
    // Price at 1 ties the two options; the second criterion at 4 or 5 hands
    // the lead to B (see the hand-worked cases above). Its four closest
    // changes are listed above the grid, which stands lower for them.
    const Project project = matrix({3, 1}, {{7, 4}, {4, 7}});
    const QImage page = buildRobustnessPage(project, analyseRobustness(project), u"Laptops"_s);
    ASSERT_EQ(page.width(), 700);
    const int top = gridTop(page);
    ASSERT_GT(top, 234);
    EXPECT_EQ(rgb(page, {5, 10}), kHeader);
    EXPECT_EQ(rgb(page, {694, 39}), kHeader);

    // A tie is striped: A's half on the left, B's on the right.
    const QPoint tie = cellCorner(0, 1, top);
    EXPECT_EQ(rgb(page, tie + QPoint(1, 1)), kBlue);
    EXPECT_EQ(rgb(page, tie + QPoint(58, 14)), kRed);
    EXPECT_EQ(rgb(page, cellCorner(0, 3, top) + QPoint(1, 1)), kBlue);
    EXPECT_EQ(rgb(page, cellCorner(0, 3, top) + QPoint(58, 14)), kBlue);
    EXPECT_EQ(rgb(page, cellCorner(1, 2, top) + QPoint(58, 14)), kBlue);
    EXPECT_EQ(rgb(page, cellCorner(1, 4, top) + QPoint(1, 1)), kRed);
    EXPECT_EQ(rgb(page, cellCorner(1, 5, top) + QPoint(58, 14)), kRed);

    // Two black pixels around the current importance (3 and 1), white
    // around the others.
    for (const QPoint current : {cellCorner(0, 3, top), cellCorner(1, 1, top)}) {
        EXPECT_EQ(rgb(page, current + QPoint(-1, 8)), kBlack);
        EXPECT_EQ(rgb(page, current + QPoint(-2, 8)), kBlack);
        EXPECT_EQ(rgb(page, current + QPoint(-3, 8)), kWhite);
        EXPECT_EQ(rgb(page, current + QPoint(61, 8)), kBlack);
        EXPECT_EQ(rgb(page, current + QPoint(30, -2)), kBlack);
        EXPECT_EQ(rgb(page, current + QPoint(30, 17)), kBlack);
    }
    EXPECT_EQ(rgb(page, cellCorner(0, 2, top) + QPoint(-2, 8)), kWhite);
    EXPECT_EQ(rgb(page, cellCorner(1, 4, top) + QPoint(30, -2)), kWhite);
}

TEST(RobustnessPage, ChanceBarsAreAsLongAsTheChance)
{
    // A at 10 against B at 9, one criterion: 8/9 and 4/9 (worked out above).
    const Project project = matrix({1}, {{10}, {9}});
    const QImage page = buildRobustnessPage(project, analyseRobustness(project), u"x"_s);
    // Bars start at x 230, 380 pixels for certainty, 12 high, 18 apart,
    // below the grid's one row, which stands lower than usual: two closest
    // changes (A down a step, B up a step) are listed.
    const int top = gridTop(page) + 20 + 16 + 22;
    const int aEnd = 230 + static_cast<int>(380.0 * 8 / 9 + 0.5); // 568
    const int bEnd = 230 + static_cast<int>(380.0 * 4 / 9 + 0.5); // 399
    EXPECT_EQ(rgb(page, {230, top}), kBlue);
    EXPECT_EQ(rgb(page, {aEnd - 1, top + 11}), kBlue);
    EXPECT_NE(rgb(page, {aEnd, top + 11}), kBlue);
    EXPECT_EQ(rgb(page, {230, top + 18}), kRed);
    EXPECT_EQ(rgb(page, {bEnd - 1, top + 18 + 11}), kRed);
    EXPECT_NE(rgb(page, {bEnd, top + 18}), kRed);
    EXPECT_NE(rgb(page, {230, top + 12}), kBlue);
}

TEST(RobustnessPage, EveryClosestChangeIsListedAboveTheGrid)
{
    // The tie of two 7s has four closest changes (worked out above): three
    // lines more than one change takes push the grid 60 pixels down. A
    // and B share every cell, A's blue on the left.
    const Project project = matrix({3}, {{7}, {7}});
    const QImage page = buildRobustnessPage(project, analyseRobustness(project), u"x"_s);
    EXPECT_EQ(rgb(page, cellCorner(0, 5) + QPoint(1, 8 + 60)), kBlue);
    EXPECT_NE(rgb(page, cellCorner(0, 5) + QPoint(1, 8)), kBlue);
}

TEST(RobustnessPage, LongNamesWrapAndPushTheGridDown)
{
    // The tie's page again, with names far wider than a line: each fact
    // naming them takes several lines, so A's stripe in the grid moves at
    // least two lines of 14 pixels further down.
    Project project = matrix({3}, {{7}, {7}});
    const int shortTop = gridTop(buildRobustnessPage(project, analyseRobustness(project), u"x"_s));
    const QString longName = QString(u"Longname "_s).repeated(12);
    project.setOptionName(0, longName + u"A"_s);
    project.setOptionName(1, longName + u"B"_s);
    project.setCriterionName(0, longName + u"C"_s);
    const int longTop = gridTop(buildRobustnessPage(project, analyseRobustness(project), u"x"_s));
    ASSERT_GT(shortTop, 0);
    EXPECT_GE(longTop - shortTop, 2 * 14);
}

TEST(RobustnessPage, NamesOfAnyLengthTakeTheSameShortLineInItsSentences)
{
    // The tie's page names both options and the criterion in each of its
    // four changes: names of 50,000 characters make it no taller than 300.
    Project project = matrix({3}, {{7}, {7}});
    const auto height = [&](qsizetype length) {
        project.setOptionName(0, QString(length, u'a'));
        project.setOptionName(1, QString(length, u'b'));
        project.setCriterionName(0, QString(length, u'c'));
        return robustnessPageHeight(project, analyseRobustness(project));
    };
    EXPECT_EQ(height(50'000), height(300));
}

TEST(RobustnessPage, GrowsWithTheCriteriaUpToItsCap)
{
    // A far ahead of B and C: no single change lifts either, so only the
    // grid's rows change the height.
    const auto height = [](int criteria) {
        const Project project = scoredProject(3, std::vector<int>(static_cast<std::size_t>(criteria), 3),
                                              [](int option, int) { return option == 0 ? 10 : 0; });
        const Robustness found = analyseRobustness(project);
        const QImage page = buildRobustnessPage(project, found, u"x"_s);
        EXPECT_EQ(page.height(), robustnessPageHeight(project, found));
        return page.height();
    };
    EXPECT_EQ(height(2), 530);
    EXPECT_EQ(height(25) - height(24), 20); // one more grid row
    EXPECT_EQ(height(31) - height(30), 16); // the row becomes the note of what is left out
    EXPECT_EQ(height(300), height(31));
}

TEST(RobustnessPage, WithoutOptionsTheRowsStayEmpty)
{
    const Project empty = matrix({3, 3}, {});
    const QImage page = buildRobustnessPage(empty, analyseRobustness(empty), u"Empty"_s);
    ASSERT_FALSE(page.isNull());
    EXPECT_TRUE(allWhite(page, QRect(0, 45, 700, 130)));
    // The cells of a grid without options are plain grey.
    EXPECT_EQ(rgb(page, cellCorner(1, 2) + QPoint(30, 8)), qRgb(0xE0, 0xE0, 0xE0));
}
