#include "document/EditHistory.h"
#include "document/CellTexts.h"
#include "document/EditSteps.h"
#include "editor/ImageButton.h"
#include "project/ProjectWriter.h"
#include "tests/TestSupport.h"
#include "tests/editor/MatrixFixture.h"

#include <QScrollBar>

#include <functional>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

using Answer = Dialogs::Answer;

class EditHistoryTest : public MatrixFixture {
protected:
    // What a save would write: undo must give back exactly these bytes.
    QByteArray saved() const
    {
        return projectFileBytes(m_project, u"t.pnx"_s, QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)));
    }

    void fresh(int options, int criteria)
    {
        load(matrixProject(options, criteria));
        history().clear();
    }

    EditHistory& history() { return document().history(); }

    QSlider* valueSlider(int option, int criterion) { return rating(option, criterion).valueSlider(); }
    QSlider* importanceSlider(int criterion) { return view().criterionCell(criterion)->importanceSlider(); }
    QLineEdit* optionField(int option) { return view().optionCell(option)->nameField(); }
    QLineEdit* criterionField(int criterion) { return view().criterionCell(criterion)->nameField(); }

    // Typing at the end of the name (a field shows the start of its name).
    static void typeAtEnd(QLineEdit* field, const QString& typed)
    {
        field->end(false);
        QTest::keyClicks(field, typed);
    }

    // A slider dragged by the mouse through the given positions.
    static void drag(QSlider* slider, std::initializer_list<int> positions)
    {
        slider->setSliderDown(true);
        for (int position : positions)
            slider->setValue(position);
        slider->setSliderDown(false);
    }

    QString status() const { return m_view->statusLine()->text(); }
};

} // namespace

TEST_F(EditHistoryTest, EveryKindOfEditUndoesToTheSameBytesAndRedoesAgain)
{
    start();
    struct Case {
        const char* name;
        std::function<void()> edit;
        QString step; // the name worked out by hand from the edit
    };
    const std::vector<Case> cases = {
        {"rating", [&] { valueSlider(1, 2)->setValue(9); }, u"rating B:3"_s},
        {"importance", [&] { importanceSlider(1)->setValue(5); }, u"importance Criterion 2"_s},
        {"option name", [&] { typeAtEnd(optionField(0), u"xy"_s); }, u"name Option A"_s},
        {"criterion name", [&] { typeAtEnd(criterionField(3), u"z"_s); }, u"name Criterion 4"_s},
        {"comment",
         [&] {
             m_dialogs.entries = {u"new words"_s};
             commands().editComment(0, 1);
         },
         u"comment A:2"_s},
        {"add option", [&] { commands().addOption(); }, u"add Option D"_s},
        {"add criterion", [&] { commands().addCriterion(); }, u"add Criterion 5"_s},
        {"delete option",
         [&] {
             m_dialogs.answers = {Answer::Yes};
             commands().deleteOption(1);
         },
         u"delete Option B"_s},
        {"delete criterion",
         [&] {
             m_dialogs.answers = {Answer::Yes};
             commands().deleteCriterion(1);
         },
         u"delete Criterion 2"_s},
        {"move option", [&] { commands().moveOption(0, MoveDirection::Forward); }, u"move Option A right"_s},
        {"move criterion", [&] { commands().moveCriterion(2, MoveDirection::Backward); }, u"move Criterion 3 up"_s},
    };
    for (const Case& c : cases) {
        fresh(3, 4);
        const QByteArray before = saved();
        const QString statusBefore = status();
        c.edit();
        const QByteArray after = saved();
        ASSERT_NE(after, before) << c.name;
        ASSERT_EQ(history().count(), 1) << c.name;
        EXPECT_EQ(history().undoText(), c.step) << c.name;

        history().undo();
        EXPECT_TRUE(sameBytes(saved(), before)) << c.name;
        EXPECT_EQ(status(), statusBefore) << c.name;
        EXPECT_EQ(history().redoText(), c.step) << c.name;
        history().redo();
        EXPECT_TRUE(sameBytes(saved(), after)) << c.name;
        history().undo();
        EXPECT_TRUE(sameBytes(saved(), before)) << c.name;
    }
}

TEST_F(EditHistoryTest, UndoingADeletionPutsTheEntryBackWithItsCellsAndNumbers)
{
    start();
    fresh(3, 4);
    m_dialogs.answers = {Answer::Yes};
    commands().deleteOption(1);
    ASSERT_EQ(m_project.optionCount(), 2);
    EXPECT_EQ(view().optionCell(1)->nameField()->text(), u"O2"_s);

    history().undo();
    EXPECT_EQ(optionNames(m_project), u"O0,O1,O2"_s);
    ASSERT_NE(view().optionCell(2), nullptr);
    EXPECT_EQ(view().optionCell(1)->nameField()->text(), u"O1"_s);
    EXPECT_EQ(view().optionCell(2)->title()->text(), text(TextKey::TXT00202) + u" C"_s);
    // Option B's ratings: comment "1:c", value (1 + 2c) % 11.
    EXPECT_EQ(rating(1, 3).value(), 7);
    EXPECT_EQ(rating(1, 3).commentButton()->toolTip(), u"1:3"_s);
    EXPECT_EQ(rating(2, 3).commentButton()->toolTip(), u"2:3"_s);
    EXPECT_EQ(status(),
              u"4 "_s + text(TextKey::TXT00201) + u' ' + text(TextKey::TXT00150) + u" 3 "_s + text(TextKey::TXT00203));

    m_dialogs.answers = {Answer::Yes};
    commands().deleteCriterion(0);
    history().undo();
    EXPECT_EQ(criterionNames(m_project), u"C0,C1,C2,C3"_s);
    EXPECT_EQ(view().criterionCell(0)->importanceSlider()->value(), 1);
    EXPECT_EQ(view().criterionCell(3)->title()->text(), text(TextKey::TXT00200) + u" 4"_s);
    EXPECT_EQ(rating(2, 0).commentButton()->toolTip(), u"2:0"_s);
}

TEST_F(EditHistoryTest, UndoingAValueEmptiesAFreshValueBoxAgain)
{
    start();
    fresh(1, 2);
    const int widthBefore = view().ratingGrid()->widget()->width();
    commands().addOption(); // its ratings' boxes stay empty until moved
    RatingCell& added = rating(1, 1);
    ASSERT_TRUE(added.valueText().isEmpty());
    added.valueSlider()->setValue(8);
    EXPECT_EQ(added.valueText(), u"+3"_s);

    history().undo();
    EXPECT_EQ(added.valueSlider()->value(), kNeutralValue);
    EXPECT_TRUE(added.valueText().isEmpty());
    EXPECT_EQ(m_project.ratingOf(1, 1)->Value, kNeutralValue);
    history().redo();
    EXPECT_EQ(added.valueText(), u"+3"_s);
    EXPECT_EQ(added.valueSlider()->value(), 8);

    // Undoing the addition takes the column away again.
    history().undo();
    history().undo();
    EXPECT_EQ(m_project.optionCount(), 1);
    EXPECT_EQ(view().optionCell(1), nullptr);
    EXPECT_EQ(view().ratingCell(1, 0), nullptr);
    EXPECT_NE(view().ratingCell(0, 1), nullptr);
    EXPECT_EQ(view().ratingGrid()->widget()->width(), widthBefore);
    EXPECT_EQ(view().optionHeaderArea()->widget()->width(), widthBefore);
}

TEST_F(EditHistoryTest, ControlsFollowUndoWithoutRecordingNewSteps)
{
    start();
    fresh(2, 3);
    typeAtEnd(criterionField(1), u"!"_s);
    importanceSlider(2)->setValue(1);
    commands().moveOption(1, MoveDirection::Backward);
    ASSERT_EQ(history().count(), 3);

    history().undo();
    EXPECT_EQ(optionField(0)->text(), u"O0"_s);
    EXPECT_EQ(rating(0, 2).value(), 4);
    history().undo();
    EXPECT_EQ(importanceSlider(2)->value(), 3);
    history().undo();
    EXPECT_EQ(criterionField(1)->text(), u"C1"_s);
    // The controls changed by the undos did not record steps of their own.
    EXPECT_EQ(history().count(), 3);
    EXPECT_EQ(history().index(), 0);
    EXPECT_FALSE(history().canUndo());
}

TEST_F(EditHistoryTest, InterleavedEditsUndoAndRedoInOrder)
{
    start();
    fresh(3, 3);
    typeAtEnd(optionField(2), u"+"_s);
    m_dialogs.answers = {Answer::Yes};
    commands().deleteOption(0);
    EXPECT_EQ(optionNames(m_project), u"O1,O2+"_s);
    history().undo();
    history().undo();
    EXPECT_EQ(optionNames(m_project), u"O0,O1,O2"_s);
    history().redo();
    EXPECT_EQ(optionNames(m_project), u"O0,O1,O2+"_s);
    EXPECT_EQ(optionField(2)->text(), u"O2+"_s);
    EXPECT_EQ(history().redoText(), u"delete Option A"_s);

    // A new edit after an undo drops the steps that could have been redone.
    importanceSlider(0)->setValue(4);
    EXPECT_FALSE(history().canRedo());
    EXPECT_EQ(history().count(), 2);
}

TEST_F(EditHistoryTest, TypingInOneFieldAndOneSliderDragAreOneStepEach)
{
    start();
    fresh(2, 2);
    typeAtEnd(optionField(0), u"abc"_s);
    EXPECT_EQ(history().count(), 1);
    emit optionField(0)->editingFinished(); // Enter, or the focus went elsewhere
    typeAtEnd(optionField(0), u"d"_s);
    EXPECT_EQ(history().count(), 2);
    history().undo();
    EXPECT_EQ(m_project.options()[0].Name, u"O0abc"_s);
    history().undo();
    EXPECT_EQ(m_project.options()[0].Name, u"O0"_s);

    // Typing into another field is another step even without leaving the first.
    fresh(2, 2);
    typeAtEnd(optionField(0), u"a"_s);
    typeAtEnd(optionField(1), u"b"_s);
    EXPECT_EQ(history().count(), 2);

    fresh(2, 2);
    drag(valueSlider(1, 1), {4, 5, 6, 9});
    drag(importanceSlider(0), {2, 3, 4});
    EXPECT_EQ(history().count(), 2);
    history().undo();
    EXPECT_EQ(m_project.criteria()[0].Importance, 1);
    history().undo();
    EXPECT_EQ(m_project.ratingOf(1, 1)->Value, 3); // (1 + 2) % 11
    // Two drags of the same knob, and steps without a drag, stay apart.
    fresh(2, 2);
    drag(valueSlider(0, 0), {1});
    drag(valueSlider(0, 0), {2});
    valueSlider(0, 0)->setValue(3);
    valueSlider(0, 0)->setValue(4);
    EXPECT_EQ(history().count(), 4);
}

TEST_F(EditHistoryTest, TypingBackToTheOldNameLeavesNoStep)
{
    start();
    fresh(1, 1);
    typeAtEnd(optionField(0), u"x"_s);
    QTest::keyClick(optionField(0), Qt::Key_Backspace);
    EXPECT_EQ(history().count(), 0);
}

TEST_F(EditHistoryTest, KeepsTheLastThousandSteps)
{
    start();
    fresh(1, 3);
    // 1,005 steps: importances 1, 2, 1, 2, ... starting from 3.
    for (int step = 0; step < 1005; ++step)
        importanceSlider(2)->setValue(1 + step % 2);
    EXPECT_EQ(history().count(), 1000);
    while (history().canUndo())
        history().undo();
    // The oldest five went: undo stops at the value after the fifth step.
    EXPECT_EQ(m_project.criteria()[2].Importance, 1);
    EXPECT_EQ(importanceSlider(2)->value(), 1);
}

// Eight edits of one comment, each to a new text of 20 MB (10 million
// characters): a step keeps its text before and after, and the after of one
// is the before of the next, so from the newest back the steps keep 40, 60,
// 80, 100, then 120 MB. Within 100 MB the four newest stay undoable; had
// every step kept texts of its own (40 MB each) only two would.
TEST_F(EditHistoryTest, KeepsTheNewestStepsWithinItsMemoryAndEachSharedTextOnce)
{
    start();
    fresh(1, 1);
    constexpr qsizetype kCharacters = 10'000'000;
    QStringList texts;
    for (char letter = 'a'; letter < 'i'; ++letter) {
        texts << QString(kCharacters, QLatin1Char(letter));
        history().record(new CommentStep(document(), 0, 0, texts.last()));
    }
    int undone = 0;
    while (history().canUndo()) {
        history().undo();
        ++undone;
    }
    EXPECT_EQ(undone, 4);
    EXPECT_EQ(m_project.ratingOf(0, 0)->Comment, texts[3]);
    EXPECT_TRUE(history().undoText().isEmpty());
    history().redo();
    EXPECT_EQ(m_project.ratingOf(0, 0)->Comment, texts[4]);

    // A step past the bound on its own is still the last edit, and undoable.
    history().record(new CommentStep(document(), 0, 0, QString(EditHistory::kTextBytesLimit / 2, u'z')));
    history().undo();
    EXPECT_EQ(m_project.ratingOf(0, 0)->Comment, texts[4]);
}

TEST_F(EditHistoryTest, AFreshProjectStartsAFreshHistoryAndNoChangeNoStep)
{
    start();
    fresh(2, 2);
    importanceSlider(0)->setValue(5);
    m_dialogs.entries = {u"0:1"_s}; // the comment it already has
    commands().editComment(0, 1);
    commands().moveOption(1, MoveDirection::Forward); // at the end: nothing moves
    EXPECT_EQ(history().count(), 1);
    commands().newProject(u"Start"_s);
    EXPECT_EQ(history().count(), 0);
    EXPECT_FALSE(history().canUndo());
}

TEST_F(EditHistoryTest, UndoBringsTheChangedControlIntoSightAndFocus)
{
    start();
    fresh(20, 20);
    valueSlider(17, 18)->setValue(2);
    QScrollBar* across = view().ratingGrid()->horizontalScrollBar();
    QScrollBar* down = view().ratingGrid()->verticalScrollBar();
    across->setValue(0);
    down->setValue(0);
    history().undo();
    QSlider* slider = valueSlider(17, 18);
    QTRY_VERIFY(slider->hasFocus());
    const QRect visible(QPoint(across->value(), down->value()), view().ratingGrid()->viewport()->size());
    EXPECT_TRUE(visible.contains(QRect(slider->mapTo(view().ratingGrid()->widget(), QPoint(0, 0)), slider->size())));

    typeAtEnd(criterionField(19), u"q"_s);
    down->setValue(0);
    history().undo();
    QTRY_VERIFY(criterionField(19)->hasFocus());
    EXPECT_GT(down->value(), 0);
    EXPECT_EQ(view().criterionArea()->verticalScrollBar()->value(), down->value());
}

TEST_F(EditHistoryTest, UndoingADeletionHandsTheFocusToTheRestoredEntrysName)
{
    start();
    struct Case {
        const char* name;
        std::function<void()> remove;
        std::function<QLineEdit*()> restoredField; // by the index the entry had
        QString restoredName;
    };
    const std::vector<Case> cases = {
        {"option B", [&] { commands().deleteOption(1); }, [&] { return optionField(1); }, u"O1"_s},
        {"last option", [&] { commands().deleteOption(2); }, [&] { return optionField(2); }, u"O2"_s},
        {"criterion 3", [&] { commands().deleteCriterion(2); }, [&] { return criterionField(2); }, u"C2"_s},
        {"first criterion", [&] { commands().deleteCriterion(0); }, [&] { return criterionField(0); }, u"C0"_s},
    };
    for (const Case& c : cases) {
        fresh(3, 4);
        m_dialogs.answers = {Answer::Yes};
        c.remove();
        // Somewhere else first, so that only the undo can put it there.
        view().addOptionButton()->setFocus();
        history().undo();
        QLineEdit* field = c.restoredField();
        ASSERT_NE(field, nullptr) << c.name;
        EXPECT_EQ(field->text(), c.restoredName) << c.name;
        EXPECT_TRUE(QTest::qWaitFor([field] { return field->hasFocus(); })) << c.name;
    }
}
