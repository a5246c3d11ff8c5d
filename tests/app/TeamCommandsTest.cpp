// The team commands of the File menu: a blank copy that leaves the open
// project alone, and combining members' files into the team window, whose
// button opens the combined project as a new one.
#include "app/Application.h"
#include "app/Recovery.h"

#include "app/MainWindow.h"
#include "base/TextTable.h"
#include "editor/MatrixView.h"
#include "project/ProjectReader.h"
#include "project/ProjectWriter.h"
#include "tests/TestSupport.h"
#include "tests/app/AppSandbox.h"

#include <QApplication>
#include <QPushButton>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

class TeamCommands : public AppSandbox {
protected:
    // The demo under `name` with the first rating of option A set to `value`.
    QString member(const QString& name, int value)
    {
        ReadResult demo = readProjectFile(writeDemo(name));
        demo.project().setValue(0, 0, value);
        EXPECT_TRUE(writeProjectFile(demo.project(), file(name), QDateTime()));
        return file(name);
    }

    static QWidget* openWindowTitled(const QString& title)
    {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top->isVisible() && top->windowTitle() == title)
                return top;
        }
        return nullptr;
    }
};

} // namespace

TEST_F(TeamCommands, BlankCopyLeavesTheOpenProjectAsItIs)
{
    auto application = startApplication({writeDemo(u"Cars.pnx"_s)});
    m_dialogs.files = {{file(u"blank"_s), 0}};
    application->mainWindow().trigger(Command::SaveBlankCopy);

    EXPECT_EQ(m_dialogs.fileDialogs.last().title, uiText(TextKey::TXT00801));
    ReadResult blank = readProjectFile(file(u"blank.pnx"_s));
    ASSERT_TRUE(blank.ok());
    EXPECT_EQ(blank.project().criteria()[0].Importance, 5);
    EXPECT_EQ(blank.project().ratingOf(0, 0)->Value, 5);
    EXPECT_EQ(application->project().path(), file(u"Cars.pnx"_s));
    EXPECT_EQ(application->matrixView().banner(), u"Cars"_s);
    EXPECT_EQ(application->project().ratingOf(0, 0)->Value, 9);

    // Over the open project's own file it would zero every rating on disk.
    const QByteArray before = readBytes(file(u"Cars.pnx"_s));
    m_dialogs.files = {{file(u"Cars.pnx"_s), 0}};
    m_dialogs.answers = {Dialogs::Answer::Yes};
    application->mainWindow().trigger(Command::SaveBlankCopy);
    EXPECT_EQ(m_dialogs.lastText(), uiText(TextKey::BlankCopyOverItsProject).arg(file(u"Cars.pnx"_s)));
    EXPECT_EQ(readBytes(file(u"Cars.pnx"_s)), before);
}

// anna rates A +4 under Price (as the demo), ben -4: the combined project
// takes their median, 0, and says who rated what with the demo's comment.
TEST_F(TeamCommands, CombiningShowsTheTeamAndOpensTheCombinedProjectAsNew)
{
    auto application = startApplication({writeDemo(u"Cars.pnx"_s)});
    m_dialogs.fileLists = {{member(u"anna.pnx"_s, 9), member(u"ben.pnx"_s, 1)}};
    application->mainWindow().trigger(Command::CombineTeam);

    QWidget* team = openWindowTitled(uiText(TextKey::TXT00802) + u" - Ponderix"_s);
    ASSERT_NE(team, nullptr);
    EXPECT_FALSE(application->mainWindow().isEnabled());
    QPushButton* openCombined = nullptr;
    for (QPushButton* button : team->findChildren<QPushButton*>()) {
        if (button->text() == uiText(TextKey::TXT00803))
            openCombined = button;
    }
    ASSERT_NE(openCombined, nullptr);
    m_dialogs.answers = {Dialogs::Answer::Yes};
    openCombined->click();
    QApplication::processEvents();

    EXPECT_EQ(m_dialogs.lastText(),
              u"Do you want to open another project?\r\nChanges that have not been saved will be lost."_s);
    EXPECT_TRUE(application->mainWindow().isEnabled());
    const Project& combined = application->project();
    EXPECT_EQ(combined.ratingOf(0, 0)->Value, 5);
    EXPECT_EQ(combined.ratingOf(0, 0)->Comment, u"anna (+4): USD 39'000\nben (-4): USD 39'000"_s);
    EXPECT_TRUE(combined.path().isEmpty());
    EXPECT_EQ(application->matrixView().banner(), uiText(TextKey::TXT00802));
    // Work no file holds: kept for recovery from the start, not from the first edit.
    EXPECT_TRUE(application->recovery().pending());
}

TEST_F(TeamCommands, FilesOfAnotherDecisionAreRefusedByName)
{
    auto application = startApplication();
    ASSERT_TRUE(writeBytes(file(u"other.pnx"_s), "<Ponderix><Options><o Name=\"Bike\"/></Options></Ponderix>"));
    m_dialogs.fileLists = {{member(u"anna.pnx"_s, 9), file(u"other.pnx"_s)}};
    application->mainWindow().trigger(Command::CombineTeam);

    EXPECT_EQ(m_dialogs.messages.last().title, uiText(TextKey::TXT00804));
    EXPECT_TRUE(m_dialogs.lastText().startsWith(file(u"other.pnx"_s) + u" is not a rating of the same decision"_s));
    EXPECT_EQ(openWindowTitled(uiText(TextKey::TXT00802) + u" - Ponderix"_s), nullptr);
    EXPECT_TRUE(application->mainWindow().isEnabled());

    // A cancelled combining shows nothing.
    const qsizetype messages = m_dialogs.messages.size();
    m_dialogs.cancelAtPart = 1;
    m_dialogs.fileLists = {{member(u"anna.pnx"_s, 9), member(u"ben.pnx"_s, 1)}};
    application->mainWindow().trigger(Command::CombineTeam);
    EXPECT_EQ(m_dialogs.progressDialogs.last().title, uiText(TextKey::TXT00802));
    EXPECT_EQ(m_dialogs.messages.size(), messages);
    EXPECT_EQ(openWindowTitled(uiText(TextKey::TXT00802) + u" - Ponderix"_s), nullptr);
}
