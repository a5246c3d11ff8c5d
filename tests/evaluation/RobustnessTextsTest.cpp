// The robustness findings in words, as the page, the window and the command
// line say them.
#include "evaluation/RobustnessTexts.h"

#include "tests/evaluation/PageTestSupport.h"

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

// Option 1's rating under criterion 1 from +2 to +1, which makes option 2 best.
const SingleChange kDown{SingleChange::Kind::Rating, 0, 0, 2, 1, {1}};

Project twoOptions()
{
    return scoredProject(2, {3}, [](int, int) { return 7; });
}

} // namespace

TEST(RobustnessTexts, StepsSayHowManyChangesOfThatSizeThereAre)
{
    const struct {
        int steps;
        int changes;
        QString text;
    } cases[] = {
        {1, 1, u"1 step"_s},
        {8, 1, u"8 steps"_s},
        {1, 16, u"1 step (16 changes of 1 step each)"_s},
        {2, 2, u"2 steps (2 changes of 2 steps each)"_s},
    };
    for (const auto& entry : cases) {
        const SmallestChanges smallest{entry.steps, {}, entry.changes}; // none kept, all counted
        EXPECT_EQ(smallestChangesText(smallest), entry.text);
    }
}

TEST(RobustnessTexts, ListedChangesStopAtTheMostAndCountTheRest)
{
    const Project project = twoOptions();
    const QString down =
        u"Rating of Option A \"Option 1\" under \"Criterion 1\" from +2 to +1, then best: Option B \"Option 2\""_s;
    const struct {
        int kept;
        int more;
        int most;
        int listed;
        QString last;
    } cases[] = {
        {0, 0, 10, 0, QString()},
        {3, 0, 10, 3, down},
        {10, 0, 10, 10, down},
        {10, 1, 10, 10, u"1 more change not shown"_s},
        {10, 3, 3, 3, u"10 more changes not shown"_s},
    };
    for (const auto& entry : cases) {
        const QStringList lines =
            listedChanges(project,
                          {1, std::vector<SingleChange>(static_cast<std::size_t>(entry.kept), kDown), entry.more},
                          entry.most);
        const bool leftOut = entry.kept + entry.more > entry.most;
        ASSERT_EQ(lines.size(), entry.listed + (leftOut ? 1 : 0)) << entry.kept;
        for (int line = 0; line < entry.listed; ++line)
            EXPECT_EQ(lines[line], down);
        EXPECT_EQ(lines.isEmpty() ? QString() : lines.last(), entry.last);
    }
    // The options tied after a change: the first ten by name, then the count.
    const Project twelve = scoredProject(12, {1}, [](int, int) { return 5; });
    const SingleChange down12{SingleChange::Kind::Rating, 0, 11, 0, -1, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}, 1};
    EXPECT_TRUE(changeText(twelve, down12, true).endsWith(u"Option J \"Option 10\", and 1 more"_s));
    EXPECT_TRUE(optionsText(twelve, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11}, 1).endsWith(u"\"Option 10\", and 3 more"));
}

TEST(RobustnessTexts, ATieForBestHasNoLeaderOnlyOptionsBelowIt)
{
    // Importance 1: +2 scores 8, +1 scores 4, 0 scores 0 of 25.
    const struct {
        std::vector<int> values;
        QStringList rows;
    } cases[] = {
        {{7, 6, 5},
         {u"Best choice: Option A \"Option 1\" (+8%)"_s, u"Runner-up: Option B \"Option 2\" (+4%)"_s,
          u"Lead: 4 points"_s}},
        {{7, 7, 5},
         {u"Tied for best: Option A \"Option 1\", Option B \"Option 2\" (+8%)"_s,
          u"Next below the tie: Option C \"Option 3\" (0%)"_s, u"Behind the tie by: 8 points"_s}},
        {{7, 7, 7},
         {u"Tied for best: Option A \"Option 1\", Option B \"Option 2\", Option C \"Option 3\" (+8%)"_s,
          u"Next below the tie: none"_s, u"Behind the tie by: none"_s}},
    };
    for (const auto& entry : cases) {
        const Project project = scoredProject(3, {1}, [&](int option, int) { return entry.values[option]; });
        const std::vector<FindingRow> rows = findingRows(project, analyseRobustness(project));
        ASSERT_GE(rows.size(), 3u);
        for (int row = 0; row < 3; ++row)
            EXPECT_EQ(rows[row].label + u" "_s + rows[row].value, entry.rows[row]);
    }
}

TEST(RobustnessTexts, CountsTakeTheSingularForOneAndThePluralOtherwise)
{
    const struct {
        int count;
        TextKey singular;
        TextKey plural;
        QString text;
    } cases[] = {
        {1, TextKey::TXT01050, TextKey::TXT00403, u"1 point"_s},
        {0, TextKey::TXT01050, TextKey::TXT00403, u"0 points"_s},
        {12, TextKey::TXT01050, TextKey::TXT00403, u"12 points"_s},
        {1, TextKey::TXT01051, TextKey::TXT01052, u"1 change"_s},
        {2, TextKey::TXT01051, TextKey::TXT01052, u"2 changes"_s},
        {1, TextKey::TXT01056, TextKey::TXT01057, u"1 more option not shown"_s},
        {3, TextKey::TXT01056, TextKey::TXT01057, u"3 more options not shown"_s},
        {1, TextKey::TXT01058, TextKey::TXT00423, u"1 more criterion not shown"_s},
        {270, TextKey::TXT01058, TextKey::TXT00423, u"270 more criteria not shown"_s},
    };
    for (const auto& entry : cases)
        EXPECT_EQ(countText(entry.count, entry.singular, entry.plural), entry.text);
    EXPECT_EQ(pointsText(1), u"1 point"_s);
}
