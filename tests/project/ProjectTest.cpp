#include "project/Project.h"
#include "project/DisplayTexts.h"
#include "project/OptionLetter.h"

#include <QStringList>

#include <gtest/gtest.h>

using namespace ponderix;
using namespace Qt::StringLiterals;

namespace {

Project matrix(int options, int criteria)
{
    Project project;
    for (int c = 0; c < criteria; ++c)
        project.appendCriterion(u"C%1"_s.arg(c), 3);
    for (int o = 0; o < options; ++o) {
        project.appendOption(u"O%1"_s.arg(o));
        for (int c = 0; c < criteria; ++c)
            project.appendRating(o, c, u"o%1c%2"_s.arg(o).arg(c), (o + c) % 11);
    }
    return project;
}

// Every pair has exactly one rating and indexes equal positions.
void expectRegular(const Project& project)
{
    for (int i = 0; i < project.optionCount(); ++i)
        EXPECT_EQ(project.options()[i].Index, i);
    for (int i = 0; i < project.criterionCount(); ++i)
        EXPECT_EQ(project.criteria()[i].Index, i);
    EXPECT_EQ(project.ratingCount(), project.optionCount() * project.criterionCount());
    for (int o = 0; o < project.optionCount(); ++o)
        for (int c = 0; c < project.criterionCount(); ++c)
            EXPECT_NE(project.ratingOf(o, c), nullptr) << o << ":" << c;
}

} // namespace

TEST(ProjectLimits, CountIsTestedBeforeCells)
{
    Project full = matrix(26, 0);
    EXPECT_EQ(full.addOption(u"x"_s), AddRefusal::OptionLimit);
    EXPECT_EQ(full.optionCount(), 26);

    Project tall = matrix(0, 300);
    EXPECT_EQ(tall.addCriterion(u"x"_s), AddRefusal::CriterionLimit);

    // 25 x 40 = 1000 cells: both additions fail on the count of cells.
    Project square = matrix(25, 40);
    EXPECT_EQ(square.addOption(u"x"_s), AddRefusal::CellLimit);
    EXPECT_EQ(square.addCriterion(u"x"_s), AddRefusal::CellLimit);
    EXPECT_EQ(square.ratingCount(), 1000);
}

TEST(ProjectLimits, CellArithmeticAtTheBorders)
{
    struct Case {
        int options, criteria;
        AddRefusal option, criterion;
    };
    const Case cases[] = {
        {2, 300, AddRefusal::None, AddRefusal::CriterionLimit},      // 600 <= 700: a third option fits
        {3, 300, AddRefusal::CellLimit, AddRefusal::CriterionLimit}, // 900 > 700
        {25, 38, AddRefusal::None, AddRefusal::None},                // 950 <= 962, 950 <= 975
        {25, 39, AddRefusal::CellLimit, AddRefusal::None},           // 975 > 961, 975 <= 975
        {25, 0, AddRefusal::None, AddRefusal::None},
        {0, 0, AddRefusal::None, AddRefusal::None},
    };
    for (const Case& c : cases) {
        const Project project = matrix(c.options, c.criteria);
        EXPECT_EQ(project.optionAdditionRefusal(), c.option) << c.options << "x" << c.criteria;
        EXPECT_EQ(project.criterionAdditionRefusal(), c.criterion) << c.options << "x" << c.criteria;
    }
}

TEST(ProjectEditing, AdditionsCreateNeutralRatingsForEveryCounterpart)
{
    Project project = matrix(3, 0);
    ASSERT_EQ(project.addCriterion(u"New"_s), AddRefusal::None);
    expectRegular(project);
    EXPECT_EQ(project.criteria()[0].Importance, 3);
    for (const Rating& rating : project.ratings()) {
        EXPECT_EQ(rating.Value, 5);
        EXPECT_TRUE(rating.Comment.isEmpty());
    }
    ASSERT_EQ(project.addOption(u"D"_s), AddRefusal::None);
    expectRegular(project);
    EXPECT_EQ(project.ratingOf(3, 0)->Value, 5);
}

TEST(ProjectEditing, DeletingAnOptionRenumbersTheRest)
{
    Project project = matrix(3, 2);
    project.deleteOption(1);
    expectRegular(project);
    EXPECT_EQ(project.options()[1].Name, u"O2"_s); // the former "C" is now "B"
    EXPECT_EQ(project.ratingOf(1, 0)->Comment, u"o2c0"_s);
    EXPECT_EQ(project.ratingOf(1, 1)->Comment, u"o2c1"_s);
    EXPECT_EQ(project.ratingOf(0, 1)->Comment, u"o0c1"_s);
}

TEST(ProjectEditing, DeletingTheOnlyCriterionLeavesOptionsWithoutRatings)
{
    Project project = matrix(3, 1);
    project.deleteCriterion(0);
    EXPECT_EQ(project.optionCount(), 3);
    EXPECT_EQ(project.criterionCount(), 0);
    EXPECT_EQ(project.ratingCount(), 0);
    ASSERT_EQ(project.addCriterion(u"Again"_s), AddRefusal::None);
    expectRegular(project);

    project.deleteOption(7); // out of range: nothing happens
    EXPECT_EQ(project.optionCount(), 3);
}

TEST(ProjectEditing, MovingSwapsContentsButNotPositions)
{
    Project project = matrix(3, 2);
    EXPECT_TRUE(project.moveOption(1, MoveDirection::Backward));
    EXPECT_EQ(project.options()[0].Name, u"O1"_s);
    EXPECT_EQ(project.options()[1].Name, u"O0"_s);
    EXPECT_EQ(project.options()[0].Index, 0);
    EXPECT_EQ(project.ratingOf(0, 1)->Comment, u"o1c1"_s);
    EXPECT_EQ(project.ratingOf(1, 1)->Value, (0 + 1) % 11);

    project.setImportance(0, 5);
    EXPECT_TRUE(project.moveCriterion(0, MoveDirection::Forward));
    EXPECT_EQ(project.criteria()[1].Importance, 5);
    EXPECT_EQ(project.criteria()[0].Importance, 3);
    EXPECT_EQ(project.ratingOf(2, 0)->Comment, u"o2c1"_s);

    EXPECT_FALSE(project.moveOption(2, MoveDirection::Forward));
    EXPECT_FALSE(project.moveCriterion(0, MoveDirection::Backward));
    expectRegular(project);
}

TEST(ProjectEditing, ControlsKeepImportanceAndValueInRange)
{
    Project project = matrix(1, 1);
    project.setImportance(0, 9);
    EXPECT_EQ(project.criteria()[0].Importance, 5);
    project.setImportance(0, -3);
    EXPECT_EQ(project.criteria()[0].Importance, 1);
    project.setValue(0, 0, 11);
    EXPECT_EQ(project.ratingOf(0, 0)->Value, 10);
    project.setValue(0, 0, -1);
    EXPECT_EQ(project.ratingOf(0, 0)->Value, 0);
    EXPECT_EQ(project.appendCriterion(u"x"_s, 0).Importance, 1);
    EXPECT_EQ(project.appendRating(0, 1, QString(), 99).Value, 10);
}

TEST(ProjectRegularise, DropsStrangersKeepsPlacesAndFillsGaps)
{
    Project project;
    project.appendOption(u"A"_s);
    project.appendOption(u"B"_s);
    project.appendCriterion(u"1"_s, 3);
    project.appendCriterion(u"2"_s, 3);
    project.appendRating(1, 0, u"first"_s, 1);
    project.appendRating(5, 0, u"no such option"_s, 2);
    project.appendRating(0, -1, u"negative"_s, 2);
    project.appendRating(0, 1, u"kept"_s, 3);
    project.appendRating(1, 0, u"second"_s, 9); // replaces "first" in its place

    project.regularise();
    expectRegular(project);
    ASSERT_EQ(project.ratingCount(), 4);
    const auto& ratings = project.ratings();
    EXPECT_EQ(ratings[0].IndexOption, 1);
    EXPECT_EQ(ratings[0].Comment, u"second"_s);
    EXPECT_EQ(ratings[0].Value, 9);
    EXPECT_EQ(ratings[1].Comment, u"kept"_s);
    // The missing pairs follow, criterion by criterion, options ascending.
    EXPECT_EQ(std::pair(ratings[2].IndexOption, ratings[2].IndexCriteria), std::pair(0, 0));
    EXPECT_EQ(std::pair(ratings[3].IndexOption, ratings[3].IndexCriteria), std::pair(1, 1));
    EXPECT_EQ(ratings[3].Value, 5);
}

TEST(ProjectRegularise, EmptyListsStayValid)
{
    Project onlyOptions = matrix(4, 0);
    onlyOptions.appendRating(0, 0, QString(), 5);
    onlyOptions.regularise();
    EXPECT_EQ(onlyOptions.ratingCount(), 0);
    EXPECT_EQ(onlyOptions.ratingOf(0, 0), nullptr);

    Project empty;
    empty.regularise();
    EXPECT_EQ(empty.ratingCount(), 0);
}

namespace {

// The ratings as "option:criterion=value/comment", in list order.
QString ratingList(const Project& project)
{
    QStringList all;
    for (const Rating& rating : project.ratings())
        all << u"%1:%2=%3/%4"_s.arg(rating.IndexOption).arg(rating.IndexCriteria).arg(rating.Value).arg(rating.Comment);
    return all.join(u' ');
}

} // namespace

TEST(ProjectTakeAndRestore, PutsAnEntryBackWithItsRatingsAtTheirOldPlaces)
{
    // Ratings in an order of their own (criterion by criterion, then one
    // added later), as a file written elsewhere may have them.
    Project project;
    project.appendOption(u"A"_s);
    project.appendOption(u"B"_s);
    project.appendOption(u"C"_s);
    project.appendCriterion(u"X"_s, 2);
    project.appendCriterion(u"Y"_s, 4);
    project.appendRating(0, 0, u"a"_s, 1);
    project.appendRating(2, 0, u"c"_s, 3);
    project.appendRating(0, 1, QString(), 4);
    project.appendRating(1, 1, u"b"_s, 5);
    project.appendRating(2, 1, QString(), 6);
    project.appendRating(1, 0, u"late"_s, 2);
    const QString before = ratingList(project);

    std::optional<TakenOption> taken = project.takeOption(1);
    ASSERT_TRUE(taken.has_value());
    EXPECT_EQ(taken->option.Name, u"B"_s);
    EXPECT_EQ(taken->ratings.positions, (std::vector<std::size_t>{3, 5}));
    EXPECT_EQ(ratingList(project), u"0:0=1/a 1:0=3/c 0:1=4/ 1:1=6/"_s);
    EXPECT_EQ(project.options()[1].Name, u"C"_s);
    EXPECT_EQ(project.options()[1].Index, 1);
    project.restoreOption(std::move(*taken));
    EXPECT_EQ(ratingList(project), before);
    EXPECT_EQ(project.options()[1].Name, u"B"_s);
    EXPECT_EQ(project.options()[2].Index, 2);
    ASSERT_NE(project.ratingOf(2, 0), nullptr);
    EXPECT_EQ(project.ratingOf(2, 0)->Comment, u"c"_s);

    std::optional<TakenCriterion> criterion = project.takeCriterion(0);
    ASSERT_TRUE(criterion.has_value());
    EXPECT_EQ(ratingList(project), u"0:0=4/ 1:0=5/b 2:0=6/"_s);
    EXPECT_EQ(project.criteria()[0].Name, u"Y"_s);
    project.restoreCriterion(std::move(*criterion));
    EXPECT_EQ(ratingList(project), before);
    EXPECT_EQ(project.criteria()[0].Importance, 2);
    ASSERT_NE(project.ratingOf(1, 1), nullptr);
    EXPECT_EQ(project.ratingOf(1, 1)->Comment, u"b"_s);

    EXPECT_FALSE(project.takeOption(3).has_value());
    EXPECT_FALSE(project.takeCriterion(-1).has_value());
    EXPECT_EQ(ratingList(project), before);
}

// Views that lay out a whole project see each long name or comment as
// 4,000 characters and an ellipsis, and a short one as it is.
TEST(ProjectDisplayTexts, LongTextsAreCutForViews)
{
    const QString whole(5000, u'x');
    const QString shown = QString(4000, u'x') + QChar(0x2026);
    Project project = matrix(1, 2);
    EXPECT_FALSE(hasTextsCutForDisplay(project));
    project.setCriterionName(1, whole);
    EXPECT_TRUE(hasTextsCutForDisplay(project));
    project.setOptionName(0, whole);
    project.setComment(0, 1, whole);
    const Project cut = withDisplayTexts(project);
    EXPECT_EQ(QStringList({cut.options()[0].Name, cut.criteria()[0].Name, cut.criteria()[1].Name,
                           cut.ratingOf(0, 0)->Comment, cut.ratingOf(0, 1)->Comment}),
              QStringList({shown, u"C0"_s, shown, u"o0c0"_s, shown}));
}

TEST(OptionLetter, NamesOptionsAsSpreadsheetsNameColumns)
{
    // Worked by hand in bijective base 26 (A = 1 ... Z = 26), less one:
    // AZ = 1*26 + 26, BA = 2*26 + 1, ZZ = 26*26 + 26, AAA = 676 + 26 + 1,
    // ALL = 1*676 + 12*26 + 12 = 1000.
    const std::pair<int, QString> cases[] = {
        {0, u"A"_s},   {1, u"B"_s},   {25, u"Z"_s},   {26, u"AA"_s},   {27, u"AB"_s},
        {51, u"AZ"_s}, {52, u"BA"_s}, {701, u"ZZ"_s}, {702, u"AAA"_s}, {999, u"ALL"_s},
    };
    for (const auto& [index, letter] : cases) {
        EXPECT_EQ(optionLetter(index), letter) << index;
        EXPECT_EQ(optionOfLetter(letter, 1000), index) << letter.toStdString();
        EXPECT_EQ(optionOfLetter(letter, index), std::nullopt) << letter.toStdString(); // one option short
    }
    EXPECT_EQ(optionLetter(-1), u"\uFFFD"_s);
}

TEST(OptionLetter, RefusesWhatNamesNoOption)
{
    for (const QString& letter : {u""_s, u"a"_s, u"Ab"_s, u"A1"_s, u" A"_s, u"["_s, u"@"_s, u"\u00C4"_s, u"AAAA"_s,
                                  u"ALM"_s, u"ZZZZZZZZZZZZZZZZZZZZ"_s})
        EXPECT_EQ(optionOfLetter(letter, 1000), std::nullopt) << letter.toStdString();
    EXPECT_EQ(optionOfLetter(u"A"_s, 0), std::nullopt);
}
