#include "app/MainWindow.h"
#include "app/ProjectFiles.h"
#include "document/EditHistory.h"
#include "document/EditingCommands.h"
#include "editor/MatrixCells.h"
#include "editor/MatrixView.h"
#include "tests/app/AppSandbox.h"

#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSlider>
#include <QTest>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

class UndoMenuTest : public AppSandbox {
protected:
    static QMenu* editMenu(MainWindow& window)
    {
        for (QAction* entry : window.menuBar()->actions()) {
            if (entry->text() == uiText(TextKey::MEN00002))
                return entry->menu();
        }
        return nullptr;
    }
};

} // namespace

TEST_F(UndoMenuTest, UndoAndRedoHeadTheEditMenuAndNameTheirSteps)
{
    auto application = startApplication({writeDemo(u"Cars.pnx"_s)});
    MainWindow& window = application->mainWindow();
    EXPECT_EQ(static_cast<int>(Command::Undo), 40);
    EXPECT_EQ(static_cast<int>(Command::Redo), 41);

    QMenu* edit = editMenu(window);
    ASSERT_NE(edit, nullptr);
    const QList<QAction*> entries = edit->actions();
    ASSERT_EQ(entries.size(), 8);
    EXPECT_EQ(entries[0], window.action(Command::Undo));
    EXPECT_EQ(entries[1], window.action(Command::Redo));
    EXPECT_TRUE(entries[2]->isSeparator());
    EXPECT_EQ(entries[3], window.action(Command::Cut));
    EXPECT_EQ(entries[7], window.action(Command::SelectAll));

    QAction* undo = window.action(Command::Undo);
    QAction* redo = window.action(Command::Redo);
    EXPECT_EQ(undo->shortcut(), QKeySequence(u"Ctrl+Z"_s));
    EXPECT_EQ(redo->shortcuts(), (QList<QKeySequence>{QKeySequence(u"Ctrl+Y"_s), QKeySequence(u"Ctrl+Shift+Z"_s)}));
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(undo->text(), u"Undo"_s);

    application->matrixView().ratingCell(0, 0)->valueSlider()->setValue(1);
    EXPECT_TRUE(undo->isEnabled());
    EXPECT_EQ(undo->text(), u"Undo rating A:1"_s);
    m_dialogs.answers = {Dialogs::Answer::Yes};
    application->editing().deleteOption(1);
    EXPECT_EQ(undo->text(), u"Undo delete Option B"_s);

    window.trigger(Command::Undo);
    EXPECT_EQ(application->project().optionCount(), 3);
    EXPECT_EQ(undo->text(), u"Undo rating A:1"_s);
    EXPECT_TRUE(redo->isEnabled());
    EXPECT_EQ(redo->text(), u"Redo delete Option B"_s);
    window.trigger(Command::Undo);
    EXPECT_FALSE(undo->isEnabled());
    EXPECT_EQ(redo->text(), u"Redo rating A:1"_s);
    window.trigger(Command::Redo);
    window.trigger(Command::Redo);
    EXPECT_EQ(application->project().optionCount(), 2);
    EXPECT_FALSE(redo->isEnabled());
    EXPECT_EQ(redo->text(), u"Redo"_s);
}

TEST_F(UndoMenuTest, SavingKeepsTheHistoryWhileOpenNewAndDemoStartAfresh)
{
    const QString cars = writeDemo(u"Cars.pnx"_s);
    auto application = startApplication({cars});
    MainWindow& window = application->mainWindow();
    EditHistory& history = application->document().history();
    const auto edit = [&] {
        QSlider* slider = application->matrixView().ratingCell(0, 0)->valueSlider();
        slider->setValue((slider->value() + 1) % 11);
    };

    edit();
    window.trigger(Command::Save);
    EXPECT_TRUE(history.canUndo());
    EXPECT_TRUE(window.action(Command::Undo)->isEnabled());

    m_dialogs.answers = {Dialogs::Answer::Yes};
    window.trigger(Command::New);
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(window.action(Command::Undo)->isEnabled());

    edit();
    m_dialogs.answers = {Dialogs::Answer::Yes};
    window.trigger(Command::Demo);
    EXPECT_FALSE(history.canUndo());

    edit();
    EXPECT_TRUE(
        application->projectFiles().open(cars, ProjectFiles::Question::DoNotAsk, ProjectFiles::LastFolder::Update));
    EXPECT_FALSE(history.canUndo());
    // Declined questions keep the project and its history.
    edit();
    m_dialogs.answers = {Dialogs::Answer::No};
    window.trigger(Command::New);
    EXPECT_TRUE(history.canUndo());
}

TEST_F(UndoMenuTest, CtrlZUndoesTheFieldsTypingFirstThenTheProjectsSteps)
{
    auto application = startApplication({writeDemo(u"Cars.pnx"_s)});
    MainWindow& window = application->mainWindow();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    MatrixView& view = application->matrixView();
    QSlider* importance = view.criterionCell(0)->importanceSlider();
    const int importanceBefore = importance->value();
    importance->setValue(importanceBefore == 1 ? 2 : 1);

    QLineEdit* field = view.optionCell(0)->nameField();
    const QString nameBefore = field->text();
    field->setFocus();
    QTRY_VERIFY(field->hasFocus());
    field->end(false);
    QTest::keyClicks(field, u"xy"_s);
    EXPECT_EQ(application->project().options()[0].Name, nameBefore + u"xy"_s);

    // The field's own undo first: the typing goes, the importance stays.
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(field->text(), nameBefore);
    EXPECT_EQ(application->project().options()[0].Name, nameBefore);
    EXPECT_NE(importance->value(), importanceBefore);
    // With nothing left in the field, Ctrl+Z steps back through the project.
    QTest::keyClick(field, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(importance->value(), importanceBefore);
    EXPECT_EQ(application->project().criteria()[0].Importance, importanceBefore);
    // The undo put the focus on the slider, which has no undo of its own:
    // Ctrl+Y and Ctrl+Shift+Z redo there, Ctrl+Z undoes.
    QTRY_VERIFY(importance->hasFocus());
    QTest::keyClick(importance, Qt::Key_Y, Qt::ControlModifier);
    EXPECT_NE(application->project().criteria()[0].Importance, importanceBefore);
    QTest::keyClick(importance, Qt::Key_Z, Qt::ControlModifier);
    EXPECT_EQ(application->project().criteria()[0].Importance, importanceBefore);
    QTest::keyClick(importance, Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
    EXPECT_NE(application->project().criteria()[0].Importance, importanceBefore);
}
