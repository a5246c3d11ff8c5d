#include "base/BuiltInImages.h"
#include "editor/ImageButton.h"
#include "tests/editor/MatrixFixture.h"

#include <QScrollBar>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

using Answer = Dialogs::Answer;
using Icon = Dialogs::Icon;

class EditingCommandsTest : public MatrixFixture {
protected:
    void expectLimitMessage(TextKey key)
    {
        ASSERT_EQ(m_dialogs.messages.size(), 1);
        EXPECT_EQ(m_dialogs.messages[0].title, text(TextKey::TXT00013));
        EXPECT_EQ(m_dialogs.messages[0].text, text(key));
        EXPECT_EQ(m_dialogs.messages[0].icon, Icon::Information);
        m_dialogs.messages.clear();
    }

    void expectQuestion(TextKey titleKey, const QString& message)
    {
        ASSERT_EQ(m_dialogs.messages.size(), 1);
        EXPECT_EQ(m_dialogs.messages[0].title, text(titleKey));
        EXPECT_EQ(m_dialogs.messages[0].text, message);
        EXPECT_EQ(m_dialogs.messages[0].icon, Icon::Question);
        EXPECT_EQ(m_dialogs.messages[0].buttons, Dialogs::Buttons::YesNo);
        m_dialogs.messages.clear();
    }

    static bool showsComment(const RatingCell& cell, bool present)
    {
        const BuiltInImages& images = BuiltInImages::instance();
        const QImage expected = (present ? images.commentPresent : images.commentAbsent)
                                    .convertToFormat(QImage::Format_ARGB32_Premultiplied);
        return cell.commentButton()->pixmap().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied)
               == expected;
    }
};

} // namespace

TEST_F(EditingCommandsTest, OptionLimitCountsBeforeCells)
{
    start();
    load(matrixProject(25, 1));
    commands().addOption();
    EXPECT_EQ(m_project.optionCount(), 26);
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
    EXPECT_EQ(view().optionCell(25)->title()->text(), text(TextKey::TXT00202) + u" Z"_s);
    commands().addOption();
    expectLimitMessage(TextKey::TXT00103);
    EXPECT_EQ(m_project.optionCount(), 26);
    EXPECT_EQ(view().optionCell(26), nullptr);
}

TEST_F(EditingCommandsTest, CellLimitAllowsAnAdditionOnlyWhileTheResultFitsInAThousand)
{
    start();
    load(matrixProject(25, 38)); // 950 <= 1000 - 38
    commands().addOption();
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
    EXPECT_EQ(m_project.ratingCount(), 26 * 38);

    load(matrixProject(25, 39)); // 975 > 1000 - 39
    commands().addOption();
    expectLimitMessage(TextKey::TXT00110);
    EXPECT_EQ(m_project.optionCount(), 25);

    load(matrixProject(25, 40));
    commands().addCriterion();
    expectLimitMessage(TextKey::TXT00110);
    EXPECT_EQ(m_project.criterionCount(), 40);
}

TEST_F(EditingCommandsTest, ThreeHundredCriteriaLeaveRoomForAThirdOptionButNotAFourth)
{
    start();
    load(matrixProject(2, 300));
    commands().addOption();
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
    EXPECT_EQ(m_project.optionCount(), 3);
    EXPECT_NE(view().ratingCell(2, 299), nullptr);
    commands().addOption();
    expectLimitMessage(TextKey::TXT00110);
    EXPECT_EQ(m_project.optionCount(), 3);

    load(matrixProject(1, 300));
    commands().addCriterion();
    expectLimitMessage(TextKey::TXT00104);
    EXPECT_EQ(m_project.criterionCount(), 300);
}

TEST_F(EditingCommandsTest, AddedEntriesGetNeutralRatingsWithEmptyBoxesAndWiderAreas)
{
    start();
    commands().newProject(u"Start"_s);
    QTest::mouseClick(view().addOptionButton(), Qt::LeftButton);
    ASSERT_EQ(m_project.optionCount(), 2);
    EXPECT_EQ(m_project.options()[1].Name, text(TextKey::TXT00214));
    EXPECT_EQ(rating(1, 0).valueText(), QString());
    EXPECT_EQ(rating(1, 0).valueSlider()->value(), 5);
    EXPECT_EQ(rating(0, 0).valueText(), u"0"_s);
    EXPECT_EQ(view().ratingGrid()->widget()->size(), QSize(290, 120));
    EXPECT_EQ(view().optionHeaderArea()->widget()->width(), 290);
    EXPECT_EQ(view().statusLine()->text(), u"1 "_s + text(TextKey::TXT00200) + u" "_s + text(TextKey::TXT00150)
                                               + u" 2 "_s + text(TextKey::TXT00203));

    QTest::mouseClick(view().addCriterionButton(), Qt::LeftButton);
    ASSERT_EQ(m_project.criterionCount(), 2);
    EXPECT_EQ(m_project.criteria()[1].Importance, 3);
    EXPECT_EQ(view().criterionCell(1)->importanceSlider()->value(), 3);
    EXPECT_EQ(rating(1, 1).titleText(), text(TextKey::TXT00208) + u" B:2"_s);
    EXPECT_EQ(view().ratingGrid()->widget()->size(), QSize(290, 230));
    EXPECT_EQ(view().criterionArea()->widget()->height(), 230);
}

TEST_F(EditingCommandsTest, AddingToAnEmptyProjectSizesOnlyTheDirectionThatChanged)
{
    start();
    load(matrixProject(0, 0)); // opened as one column and one row
    EXPECT_EQ(view().ratingGrid()->widget()->size(), QSize(150, 120));
    commands().addCriterion();
    EXPECT_EQ(view().ratingGrid()->widget()->size(), QSize(150, 120));
    commands().addOption();
    EXPECT_EQ(view().ratingGrid()->widget()->size(), QSize(150, 120));
    EXPECT_EQ(m_project.ratingCount(), 1);
    EXPECT_NE(view().ratingCell(0, 0), nullptr);
}

TEST_F(EditingCommandsTest, DeletingAnOptionRenumbersAndRebuildsEveryCell)
{
    start();
    load(matrixProject(3, 2));
    commands().addCriterion(); // its ratings' boxes start empty
    m_dialogs.answers.push_back(Answer::Yes);
    QTest::mouseClick(view().optionCell(0)->deleteButton(), Qt::LeftButton);
    expectQuestion(TextKey::TXT00206, text(TextKey::TXT00215) + u"\r\n"_s + text(TextKey::TXT00202) + u" A, O0"_s);

    EXPECT_EQ(optionNames(m_project), u"O1,O2"_s);
    EXPECT_EQ(view().optionCell(2), nullptr);
    EXPECT_EQ(view().optionCell(0)->title()->text(), text(TextKey::TXT00202) + u" A"_s);
    EXPECT_EQ(view().optionCell(0)->nameField()->text(), u"O1"_s);
    EXPECT_EQ(view().optionCell(1)->nameField()->text(), u"O2"_s);
    // The former "B" is now "A" and keeps its ratings and comments.
    EXPECT_EQ(rating(0, 1).titleText(), text(TextKey::TXT00208) + u" A:2"_s);
    EXPECT_EQ(rating(0, 1).commentButton()->toolTip(), u"1:1"_s);
    EXPECT_EQ(rating(0, 1).valueSlider()->value(), 3);
    EXPECT_EQ(rating(0, 1).valueText(), u"-2"_s);
    // Every box shows its value after the rebuild, the fresh ones too.
    EXPECT_EQ(rating(1, 2).valueText(), u"0"_s);
    EXPECT_EQ(view().ratingCell(2, 0), nullptr);
    EXPECT_EQ(view().ratingGrid()->widget()->width(), 290);
    EXPECT_EQ(view().statusLine()->text(), u"3 "_s + text(TextKey::TXT00201) + u" "_s + text(TextKey::TXT00150)
                                               + u" 2 "_s + text(TextKey::TXT00203));
}

TEST_F(EditingCommandsTest, DeletingTheLastOptionLeavesTenPixelsOfGrid)
{
    start();
    load(matrixProject(1, 2));
    m_dialogs.answers.push_back(Answer::Yes);
    commands().deleteOption(0);
    EXPECT_EQ(m_project.optionCount(), 0);
    EXPECT_EQ(m_project.ratingCount(), 0);
    EXPECT_EQ(view().ratingGrid()->widget()->size(), QSize(10, 230));
    EXPECT_EQ(view().optionHeaderArea()->widget()->width(), 10);
    EXPECT_EQ(view().criterionCell(1)->nameField()->text(), u"C1"_s);
    EXPECT_EQ(view().statusLine()->text(), u"2 "_s + text(TextKey::TXT00201) + u" "_s + text(TextKey::TXT00150)
                                               + u" 0 "_s + text(TextKey::TXT00202));
}

TEST_F(EditingCommandsTest, DeletingACriterionRenumbersTheRows)
{
    start();
    load(matrixProject(2, 3));
    m_dialogs.answers.push_back(Answer::Yes);
    QTest::mouseClick(view().criterionCell(1)->deleteButton(), Qt::LeftButton);
    expectQuestion(TextKey::TXT00207, text(TextKey::TXT00216) + u"\r\n"_s + text(TextKey::TXT00200) + u" 2, C1"_s);
    ASSERT_EQ(m_project.criterionCount(), 2);
    EXPECT_EQ(view().criterionCell(1)->title()->text(), text(TextKey::TXT00200) + u" 2"_s);
    EXPECT_EQ(view().criterionCell(1)->nameField()->text(), u"C2"_s);
    EXPECT_EQ(view().criterionCell(1)->importanceSlider()->value(), 3);
    EXPECT_EQ(rating(1, 1).commentButton()->toolTip(), u"1:2"_s);
    EXPECT_EQ(view().ratingCell(0, 2), nullptr);
    EXPECT_EQ(view().ratingGrid()->widget()->height(), 230);
    EXPECT_EQ(view().criterionArea()->widget()->height(), 230);
}

TEST_F(EditingCommandsTest, NoToADeleteChangesNothing)
{
    start();
    load(matrixProject(2, 2));
    const RatingCell* before = view().ratingCell(1, 1);
    commands().deleteOption(1);
    commands().deleteCriterion(0);
    EXPECT_EQ(m_dialogs.messages.size(), 2);
    EXPECT_EQ(m_project.optionCount(), 2);
    EXPECT_EQ(m_project.criterionCount(), 2);
    EXPECT_EQ(m_project.ratingCount(), 4);
    EXPECT_EQ(view().ratingCell(1, 1), before);
}

TEST_F(EditingCommandsTest, MovesAtTheEdgesDoNothing)
{
    start();
    load(matrixProject(3, 3));
    QTest::mouseClick(view().optionCell(0)->moveLeftButton(), Qt::LeftButton);
    QTest::mouseClick(view().optionCell(2)->moveRightButton(), Qt::LeftButton);
    QTest::mouseClick(view().criterionCell(0)->moveUpButton(), Qt::LeftButton);
    QTest::mouseClick(view().criterionCell(2)->moveDownButton(), Qt::LeftButton);
    EXPECT_EQ(optionNames(m_project), u"O0,O1,O2"_s);
    EXPECT_EQ(m_project.criteria()[0].Name, u"C0"_s);
    EXPECT_EQ(m_project.criteria()[2].Name, u"C2"_s);
    EXPECT_EQ(m_project.ratingOf(0, 0)->Comment, u"0:0"_s);
    EXPECT_EQ(rating(2, 2).commentButton()->toolTip(), u"2:2"_s);
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
}

TEST_F(EditingCommandsTest, MovingAnOptionSwapsEverythingButTheLetters)
{
    start();
    Project project = matrixProject(3, 2);
    project.setComment(2, 1, QString());
    load(std::move(project));
    // Column C gets a fresh rating whose box is still empty.
    commands().addCriterion();
    rating(1, 2).valueSlider()->triggerAction(QAbstractSlider::SliderToMaximum);

    QTest::mouseClick(view().optionCell(1)->moveRightButton(), Qt::LeftButton);
    EXPECT_EQ(optionNames(m_project), u"O0,O2,O1"_s);
    EXPECT_EQ(view().optionCell(1)->nameField()->text(), u"O2"_s);
    EXPECT_EQ(view().optionCell(2)->nameField()->text(), u"O1"_s);
    EXPECT_EQ(view().optionCell(1)->title()->text(), text(TextKey::TXT00202) + u" B"_s);

    // Criterion 2: B held value 3 and a comment, C value 4 and none.
    EXPECT_EQ(rating(1, 1).valueSlider()->value(), 4);
    EXPECT_EQ(rating(1, 1).valueText(), u"-1"_s);
    EXPECT_EQ(rating(1, 1).valueBoxRect().x(), 47);
    EXPECT_EQ(rating(1, 1).commentButton()->toolTip(), text(TextKey::TXT00209));
    EXPECT_TRUE(showsComment(rating(1, 1), false));
    EXPECT_EQ(rating(2, 1).valueSlider()->value(), 3);
    EXPECT_EQ(rating(2, 1).commentButton()->toolTip(), u"1:1"_s);
    EXPECT_TRUE(showsComment(rating(2, 1), true));
    // Criterion 3: B's box showed +5, C's was still empty.
    EXPECT_EQ(rating(1, 2).valueText(), QString());
    EXPECT_EQ(rating(1, 2).valueBoxRect().x(), 57);
    EXPECT_EQ(rating(2, 2).valueText(), u"+5"_s);
    EXPECT_EQ(rating(2, 2).valueBoxRect().x(), 107);
    EXPECT_EQ(m_project.ratingOf(2, 2)->Value, 10);
    // The untouched column stays.
    EXPECT_EQ(rating(0, 1).commentButton()->toolTip(), u"0:1"_s);
}

TEST_F(EditingCommandsTest, MovingACriterionSwapsNamesImportancesAndRows)
{
    start();
    load(matrixProject(2, 3));
    QTest::mouseClick(view().criterionCell(2)->moveUpButton(), Qt::LeftButton);
    EXPECT_EQ(m_project.criteria()[1].Name, u"C2"_s);
    EXPECT_EQ(view().criterionCell(1)->nameField()->text(), u"C2"_s);
    EXPECT_EQ(view().criterionCell(1)->importanceSlider()->value(), 3);
    EXPECT_EQ(view().criterionCell(2)->importanceSlider()->value(), 2);
    EXPECT_EQ(m_project.criteria()[2].Importance, 2);
    EXPECT_EQ(rating(1, 1).valueSlider()->value(), 5);
    EXPECT_EQ(rating(1, 1).valueText(), u"0"_s);
    EXPECT_EQ(rating(1, 1).commentButton()->toolTip(), u"1:2"_s);
    EXPECT_EQ(rating(1, 2).commentButton()->toolTip(), u"1:1"_s);
    EXPECT_EQ(view().criterionCell(1)->title()->text(), text(TextKey::TXT00200) + u" 2"_s);
    // A move changes no sizes.
    EXPECT_EQ(view().ratingGrid()->widget()->size(), QSize(290, 340));
}

TEST_F(EditingCommandsTest, NewProjectAsksUnlessStartingAndLeavesOneOfEach)
{
    start();
    m_document.setLastFolder(u"/home/user/"_s);
    m_document.replace(matrixProject(20, 3), u"old"_s, u"/home/user/old.pnx"_s);

    EXPECT_FALSE(commands().newProject(QString()));
    expectQuestion(TextKey::TXT00210, text(TextKey::TXT00211) + u"\r\n"_s + text(TextKey::TXT00212));
    EXPECT_EQ(m_project.optionCount(), 20);
    EXPECT_EQ(view().banner(), u"old"_s);
    EXPECT_EQ(m_project.path(), u"/home/user/old.pnx"_s);
    EXPECT_NE(view().optionCell(19), nullptr);

    m_dialogs.answers.push_back(Answer::Yes);
    EXPECT_TRUE(commands().newProject(QString()));
    m_dialogs.messages.clear();
    EXPECT_EQ(m_project.optionCount(), 1);
    EXPECT_EQ(m_project.criterionCount(), 1);
    ASSERT_EQ(m_project.ratingCount(), 1);
    EXPECT_EQ(m_project.options()[0].Name, text(TextKey::TXT00214));
    EXPECT_EQ(m_project.criteria()[0].Name, text(TextKey::TXT00214));
    EXPECT_EQ(m_project.criteria()[0].Importance, 3);
    EXPECT_EQ(m_project.ratingOf(0, 0)->Value, 5);
    EXPECT_EQ(view().banner(), text(TextKey::TXT00213));
    EXPECT_EQ(m_project.path(), QString());
    EXPECT_EQ(m_project.lastFolder(), u"/home/user/"_s);
    EXPECT_EQ(rating(0, 0).valueText(), u"0"_s);
    EXPECT_EQ(view().optionCell(1), nullptr);
    EXPECT_EQ(view().ratingGrid()->widget()->size(), QSize(150, 120));
    EXPECT_EQ(view().statusLine()->text(), u"1 "_s + text(TextKey::TXT00200) + u" "_s + text(TextKey::TXT00150)
                                               + u" 1 "_s + text(TextKey::TXT00202));

    EXPECT_TRUE(commands().newProject(u"Start"_s));
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
}

TEST_F(EditingCommandsTest, CommentPromptStoresWhatIsConfirmedAndKeepsItOnCancel)
{
    start();
    commands().newProject(u"Start"_s);
    RatingCell& cell = rating(0, 0);
    m_dialogs.entries.push_back(u"Too far from the sea"_s);
    QTest::mouseClick(cell.commentButton(), Qt::LeftButton);
    ASSERT_EQ(m_dialogs.textEntries.size(), 1);
    EXPECT_EQ(m_dialogs.textEntries[0].title, text(TextKey::TXT00209));
    // The scripted layer records the prompt and the pre-filled text.
    EXPECT_EQ(m_dialogs.textEntries[0].text, text(TextKey::TXT00209) + u" A:1|"_s);
    EXPECT_EQ(m_project.ratingOf(0, 0)->Comment, u"Too far from the sea"_s);
    EXPECT_EQ(cell.commentButton()->toolTip(), u"Too far from the sea"_s);
    EXPECT_TRUE(showsComment(cell, true));

    m_dialogs.entries.push_back(std::nullopt); // Escape or the close box
    commands().editComment(0, 0);
    EXPECT_EQ(m_dialogs.textEntries[1].text, text(TextKey::TXT00209) + u" A:1|Too far from the sea"_s);
    EXPECT_EQ(m_project.ratingOf(0, 0)->Comment, u"Too far from the sea"_s);

    m_dialogs.entries.push_back(u"   "_s);
    commands().editComment(0, 0);
    EXPECT_EQ(m_project.ratingOf(0, 0)->Comment, u"   "_s);

    m_dialogs.entries.push_back(QString());
    commands().editComment(0, 0);
    EXPECT_EQ(m_project.ratingOf(0, 0)->Comment, QString());
    EXPECT_EQ(m_dialogs.textEntries.size(), 4);
    EXPECT_EQ(cell.commentButton()->toolTip(), text(TextKey::TXT00209));
    EXPECT_TRUE(showsComment(cell, false));
}
