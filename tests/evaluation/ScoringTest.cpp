#include "evaluation/Scoring.h"

#include "base/TextTable.h"
#include "project/DemoProject.h"
#include "project/Project.h"
#include "project/ProjectReader.h"

#include <gtest/gtest.h>

using namespace ponderix;
using namespace Qt::StringLiterals;

namespace {

// One option rated under criteria given as (importance, value) pairs.
Project oneOption(std::initializer_list<std::pair<int, int>> criteria)
{
    Project project;
    project.appendOption(u"Only"_s);
    int index = 0;
    for (const auto& [importance, value] : criteria) {
        project.appendCriterion(u"c"_s, importance);
        project.appendRating(0, index++, QString(), value);
    }
    return project;
}

int scoreOfOnly(std::initializer_list<std::pair<int, int>> criteria)
{
    Project project = oneOption(criteria);
    ComputeScores(project);
    return project.options()[0].score;
}

} // namespace

TEST(Scoring, WeighsRatingOffsetsByImportance)
{
    EXPECT_EQ(scoreOfOnly({{3, 7}}), 24);
    EXPECT_EQ(scoreOfOnly({{5, 10}, {1, 0}}), 40);
    EXPECT_EQ(scoreOfOnly({{5, 10}, {5, 10}}), 100);
    EXPECT_EQ(scoreOfOnly({{5, 0}}), -100);
    // All importances 1: the divisor is the number of criteria, so +-20 at most.
    EXPECT_EQ(scoreOfOnly({{1, 10}, {1, 10}, {1, 10}}), 20);
    EXPECT_EQ(scoreOfOnly({{1, 0}, {1, 0}}), -20);
}

TEST(Scoring, RoundsHalvesAwayFromZero)
{
    // Eight criteria make exact halves: S = +-1 gives q = +-0.5.
    auto eight = [](int firstValue) {
        Project project;
        project.appendOption(u"x"_s);
        for (int c = 0; c < 8; ++c) {
            project.appendCriterion(u"c"_s, 1);
            project.appendRating(0, c, QString(), c == 0 ? firstValue : 5);
        }
        ComputeScores(project);
        return project.options()[0].score;
    };
    EXPECT_EQ(eight(6), 1);
    EXPECT_EQ(eight(4), -1);
    EXPECT_EQ(eight(5), 0);
    // S = 5 over 8 criteria: q = 2.5 -> 3, and -2.5 -> -3.
    EXPECT_EQ(scoreOfOnly({{5, 6}, {1, 5}, {1, 5}, {1, 5}, {1, 5}, {1, 5}, {1, 5}, {1, 5}}), 3);
    EXPECT_EQ(scoreOfOnly({{5, 4}, {1, 5}, {1, 5}, {1, 5}, {1, 5}, {1, 5}, {1, 5}, {1, 5}}), -3);
    // 1/3 * 4 = 1.33 -> 1; 2/3 * 4 = 2.67 -> 3.
    EXPECT_EQ(scoreOfOnly({{1, 6}, {1, 5}, {1, 5}}), 1);
    EXPECT_EQ(scoreOfOnly({{2, 6}, {1, 5}, {1, 5}}), 3);
}

TEST(Scoring, NoCriteriaMeansNeutral)
{
    Project project;
    project.appendOption(u"a"_s);
    project.appendOption(u"b"_s);
    project.setScore(0, 77);
    ComputeScores(project);
    EXPECT_EQ(project.options()[0].score, 0);
    EXPECT_EQ(project.options()[1].score, 0);

    Project empty;
    ComputeScores(empty);
    const BestOptions best = bestOptions(empty);
    EXPECT_FALSE(best.maximum.has_value());
    EXPECT_TRUE(best.indexes.empty());
}

TEST(Scoring, VerdictBandBorders)
{
    using enum TextKey;
    const std::pair<int, TextKey> cases[] = {
        {100, TXT00251}, {61, TXT00251},  {60, TXT00252},  {21, TXT00252},  {20, TXT00253},   {0, TXT00253},
        {-20, TXT00253}, {-21, TXT00254}, {-60, TXT00254}, {-61, TXT00255}, {-100, TXT00255},
    };
    for (const auto& [score, key] : cases)
        EXPECT_EQ(verdictBand(score), key) << score;
}

TEST(Scoring, ScoreText)
{
    EXPECT_EQ(scoreText(24), u"+24%"_s);
    EXPECT_EQ(scoreText(0), u"0%"_s);
    EXPECT_EQ(scoreText(-100), u"-100%"_s);
}

TEST(Scoring, TiesNameEveryBestOption)
{
    Project project;
    for (const char16_t* name : {u"Alpha", u"Beta", u"Gamma"})
        project.appendOption(QString::fromUtf16(name));
    project.appendCriterion(u"c"_s, 3);
    project.appendRating(0, 0, QString(), 8);
    project.appendRating(1, 0, QString(), 2);
    project.appendRating(2, 0, QString(), 8);
    ComputeScores(project);
    const BestOptions best = bestOptions(project);
    ASSERT_EQ(best.maximum, 36);
    EXPECT_EQ(best.indexes, (std::vector<int>{0, 2}));
    const QString word = uiText(TextKey::TXT00202);
    EXPECT_EQ(bestOptionsText(project, best), word + u" A \"Alpha\", "_s + word + u" C \"Gamma\""_s);
}

TEST(Scoring, AllNeutralMakesEveryOptionBest)
{
    Project project;
    project.appendOption(u"a"_s);
    project.appendOption(u"b"_s);
    project.appendCriterion(u"c"_s, 5);
    project.regularise();
    ComputeScores(project);
    EXPECT_EQ(bestOptions(project).indexes.size(), 2u);
    EXPECT_EQ(verdictBand(project.options()[1].score), TextKey::TXT00253);
}

TEST(Scoring, DemoProjectScores)
{
    ReadResult result = readProjectBytes(demoProjectBytes());
    ASSERT_TRUE(result.ok());
    Project& demo = result.project();
    ComputeScores(demo);
    // T7: (5*4 + 4*5 + 3*3) / 3 * 4 = 65.33; D14: (5 + 12 - 6) / 3 * 4 = 14.67; V8: (-15 - 12 + 6) / 3 * 4 = -28
    EXPECT_EQ(demo.options()[0].score, 65);
    EXPECT_EQ(demo.options()[1].score, 15);
    EXPECT_EQ(demo.options()[2].score, -28);
    EXPECT_EQ(bestOptions(demo).indexes, std::vector<int>{0});
}
