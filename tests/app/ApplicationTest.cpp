#include "app/Application.h"

#include "app/MainWindow.h"
#include "app/ProjectFiles.h"
#include "base/BuiltInImages.h"
#include "base/TextTable.h"
#include "editor/MatrixCells.h"
#include "editor/MatrixView.h"
#include "evaluation/ResultPages.h"
#include "evaluation/Robustness.h"
#include "platform/gui/QtDialogs.h"
#include "project/DemoProject.h"
#include "project/ProjectReader.h"
#include "tests/ScriptedDialogs.h"
#include "tests/TestSupport.h"
#include "tests/app/AppSandbox.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QDragEnterEvent>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QRegularExpression>
#include <QScrollArea>
#include <QSlider>
#include <QTabWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <algorithm>

#include <sys/stat.h>
#include <unistd.h>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

QString text(TextKey key)
{
    return uiText(key);
}

class ApplicationTest : public AppSandbox {
protected:
    QString settingsPath() const { return m_folders.applicationData + text(TextKey::Settings_File); }
};

} // namespace

TEST_F(ApplicationTest, FirstStartMakesANewProject)
{
    auto application = startApplication();
    EXPECT_EQ(application->project().optionCount(), 1);
    EXPECT_EQ(application->project().criterionCount(), 1);
    EXPECT_EQ(application->project().ratingCount(), 1);
    EXPECT_EQ(application->project().options()[0].Name, text(TextKey::TXT00214));
    EXPECT_EQ(application->matrixView().banner(), text(TextKey::TXT00213));
    EXPECT_EQ(application->project().lastFolder(), m_folders.documents);
    EXPECT_EQ(application->mainWindow().windowTitle(), u"Ponderix"_s);
    EXPECT_TRUE(m_dialogs.messages.isEmpty()); // "Start" asks nothing
    EXPECT_TRUE(application->mainWindow().acceptDrops());
}

TEST_F(ApplicationTest, SecondInstanceIsRefusedAndTouchesNothing)
{
    auto first = startApplication();
    ScriptedDialogs secondDialogs;
    Application second({{}, &secondDialogs, m_folders});
    EXPECT_EQ(second.start(), Application::Start::SecondInstance);
    ASSERT_EQ(secondDialogs.messages.size(), 1);
    EXPECT_EQ(secondDialogs.messages[0].title, u"Ponderix"_s);
    EXPECT_EQ(secondDialogs.messages[0].text, text(TextKey::TXT00041));
    EXPECT_EQ(secondDialogs.messages[0].icon, Dialogs::Icon::Information);
    second.shutDown();
    EXPECT_FALSE(QFile::exists(settingsPath()));
}

TEST_F(ApplicationTest, SettingsSurviveToTheNextStart)
{
    const QString project = writeDemo(u"Cars.pnx"_s);
    {
        auto application = startApplication({project});
        EXPECT_EQ(application->project().path(), project);
        EXPECT_EQ(application->matrixView().banner(), u"Cars"_s);
        emit application->matrixView().criteriaAddWidthChosen(120);
        EXPECT_EQ(m_dialogs.lastText(), text(TextKey::TXT00225));
        application->mainWindow().move(30, 40);
        application->shutDown();
    }
    const QByteArray written = readBytes(settingsPath());
    EXPECT_TRUE(written.startsWith("\xEF\xBB\xBF"));
    EXPECT_TRUE(written.contains("CriteriaAddWidth = 120\r\n"));
    EXPECT_TRUE(written.contains(QByteArray(QByteArray("LastProject = ") + project.toUtf8() + QByteArray("\r\n"))));
    EXPECT_FALSE(QDir(m_folders.temporary).exists());

    // The last project reopens without a question; a file named on the
    // command line that is not there is named, with the reason.
    auto again = startApplication({u"nichtda.pnx"_s});
    EXPECT_EQ(again->project().path(), project);
    EXPECT_EQ(again->settings().CriteriaAddWidth, 120);
    EXPECT_EQ(again->project().optionCount(), 3);
    ASSERT_EQ(m_dialogs.messages.size(), 2);
    EXPECT_EQ(m_dialogs.messages.last().text, u"The project file could not be opened.\r\n\r\n"_s
                                                  + QDir::current().absoluteFilePath(u"nichtda.pnx"_s)
                                                  + u"\r\n\r\nNo such file or directory"_s);
}

TEST_F(ApplicationTest, QuitQuestionAnswers)
{
    auto application = startApplication();
    m_dialogs.answers = {Dialogs::Answer::Cancel};
    EXPECT_FALSE(application->confirmQuit());
    EXPECT_EQ(m_dialogs.messages.last().title, text(TextKey::TXT00100));
    EXPECT_EQ(m_dialogs.messages.last().buttons, Dialogs::Buttons::YesNoCancel);

    m_dialogs.answers = {Dialogs::Answer::No};
    EXPECT_TRUE(application->confirmQuit());

    // Yes with a save that cannot be written keeps the program running.
    writeBytes(file(u"blocker"_s), "a file, not a folder");
    application->document().replace(Project(application->project()), u"Plan"_s, file(u"blocker/project.pnx"_s));
    m_dialogs.answers = {Dialogs::Answer::Yes};
    EXPECT_FALSE(application->confirmQuit());
    EXPECT_EQ(m_dialogs.lastTitle(), text(TextKey::TXT00001));
    EXPECT_TRUE(m_dialogs.lastText().startsWith(text(TextKey::TXT00093)));
    EXPECT_TRUE(m_dialogs.lastText().contains(file(u"blocker/project.pnx"_s)));

    application->document().replace(Project(application->project()), u"Plan"_s, file(u"saved.pnx"_s));
    m_dialogs.answers = {Dialogs::Answer::Yes};
    EXPECT_TRUE(application->confirmQuit());
    EXPECT_TRUE(readBytes(file(u"saved.pnx"_s)).contains("<Ponderix "));
}

TEST_F(ApplicationTest, SaveAsAppliesTheExtensionRuleAndAsksBeforeReplacing)
{
    auto application = startApplication();
    ProjectFiles& files = application->projectFiles();

    m_dialogs.files = {{file(u"Projekt"_s), 0}};
    EXPECT_TRUE(files.save(QString()));
    EXPECT_TRUE(QFile::exists(file(u"Projekt.pnx"_s)));
    EXPECT_EQ(application->matrixView().banner(), u"Projekt"_s);
    EXPECT_EQ(application->project().lastFolder(), m_sandbox.path() + u'/');
    EXPECT_EQ(m_dialogs.fileDialogs.last().title, text(TextKey::TXT00219));
    EXPECT_EQ(m_dialogs.fileDialogs.last().text, m_folders.documents + u"MyProject.pnx"_s);
    EXPECT_EQ(m_dialogs.fileDialogPatterns.last(), u"Ponderix (*.pnx)|*.pnx"_s);

    m_dialogs.files = {{file(u"Projekt.PNX"_s), 0}};
    EXPECT_TRUE(files.save(QString()));
    EXPECT_TRUE(QFile::exists(file(u"Projekt.PNX.pnx"_s)));
    EXPECT_EQ(application->matrixView().banner(), u"Projekt.PNX"_s);

    // An existing file: No keeps it as it was.
    const QByteArray before = readBytes(file(u"Projekt.pnx"_s));
    application->document().setName(EntryKind::Option, 0, u"changed"_s);
    m_dialogs.files = {{file(u"Projekt.pnx"_s), 0}};
    m_dialogs.answers = {Dialogs::Answer::No};
    EXPECT_FALSE(files.save(QString()));
    EXPECT_EQ(m_dialogs.lastText(), text(TextKey::TXT00220));
    EXPECT_EQ(readBytes(file(u"Projekt.pnx"_s)), before);

    // A path given by the caller is written as it is, without a question.
    const qsizetype asked = m_dialogs.messages.size();
    EXPECT_TRUE(files.save(file(u"Projekt.pnx"_s)));
    EXPECT_EQ(m_dialogs.messages.size(), asked);
    EXPECT_TRUE(readBytes(file(u"Projekt.pnx"_s)).contains("Name=\"changed\""));

    m_dialogs.files = {};
    EXPECT_FALSE(files.save(QString())); // cancelled
}

TEST_F(ApplicationTest, OpenFailuresKeepTheProjectAndSayWhy)
{
    auto application = startApplication();
    ProjectFiles& files = application->projectFiles();
    application->document().setName(EntryKind::Option, 0, u"mine"_s);

    struct Case {
        const char* name;
        QByteArray bytes;
        QString title;
        QString textStart;
    };
    const Case cases[] = {
        {"foreign.pnx", "<Other/>", u"Error"_s, u"File is not a project!"_s},
        {"broken.pnx", "<Ponderix>\n<a>", u"Error"_s, u"File could not be opened!\r\n\r\nXML Error Message: "_s},
    };
    for (const Case& c : cases) {
        const QString path = file(QString::fromUtf8(c.name));
        writeBytes(path, c.bytes);
        m_dialogs.answers = {Dialogs::Answer::Yes};
        EXPECT_FALSE(files.open(path, ProjectFiles::Question::Ask, ProjectFiles::LastFolder::Update));
        EXPECT_EQ(m_dialogs.lastTitle(), c.title) << c.name;
        EXPECT_TRUE(m_dialogs.lastText().startsWith(c.textStart)) << c.name;
        EXPECT_EQ(m_dialogs.messages.last().icon, Dialogs::Icon::None);
        EXPECT_EQ(application->project().options()[0].Name, u"mine"_s) << c.name;
        // The folder is remembered even though the file failed.
        EXPECT_EQ(application->project().lastFolder(), m_sandbox.path() + u'/');
    }

    // No to the question changes nothing and opens no dialog.
    m_dialogs.answers = {Dialogs::Answer::No};
    const qsizetype dialogs = m_dialogs.fileDialogs.size();
    EXPECT_FALSE(files.open(QString(), ProjectFiles::Question::Ask, ProjectFiles::LastFolder::Update));
    EXPECT_EQ(m_dialogs.fileDialogs.size(), dialogs);
    EXPECT_EQ(m_dialogs.messages.last().text, text(TextKey::TXT00218) + u"\r\n"_s + text(TextKey::TXT00212));
}

// A file ponderix-cli reads but the matrix cannot hold is refused with the
// limit named, before a single cell is built; the open project stays.
TEST_F(ApplicationTest, ProjectsTooLargeForTheMatrixAreRefusedWithTheLimit)
{
    auto application = startApplication();
    application->document().setName(EntryKind::Option, 0, u"mine"_s);
    constexpr int options = 1000;
    constexpr int criteria = 101; // 101,000 positions: just past the limit
    QByteArray bytes = "<Ponderix>\n<Options Size=\"1000\">\n";
    for (int option = 0; option < options; ++option)
        bytes += "<Option Index=\"" + QByteArray::number(option) + "\" Name=\"o\"/>\n";
    bytes += "</Options>\n<Criteria Size=\"101\">\n";
    for (int criterion = 0; criterion < criteria; ++criterion)
        bytes += "<Criterion Index=\"" + QByteArray::number(criterion) + "\" Name=\"c\" Importance=\"3\"/>\n";
    bytes += "</Criteria>\n<Ratings>\n";
    for (int criterion = 0; criterion < criteria; ++criterion) {
        for (int option = 0; option < options; ++option)
            bytes += "<Rating IndexOption=\"" + QByteArray::number(option) + "\" IndexCriteria=\""
                     + QByteArray::number(criterion) + "\" Value=\"5\"/>\n";
    }
    bytes += "</Ratings>\n</Ponderix>\n";
    const QString path = file(u"huge.pnx"_s);
    ASSERT_TRUE(writeBytes(path, bytes));

    EXPECT_FALSE(
        application->projectFiles().open(path, ProjectFiles::Question::DoNotAsk, ProjectFiles::LastFolder::Update));
    EXPECT_EQ(m_dialogs.lastTitle(), u"Error"_s);
    EXPECT_EQ(m_dialogs.lastText(), path
                                        + u"\r\n\r\nThe matrix can show at most 100,000 ratings (options × criteria);"
                                          u" this project has 1,000 options and 101 criteria."_s);
    EXPECT_EQ(application->project().options()[0].Name, u"mine"_s);

    // A team's combined project of that size is refused the same way.
    ReadResult huge = readProjectFile(path);
    ASSERT_TRUE(huge.ok());
    EXPECT_FALSE(application->projectFiles().openUnsaved(std::move(huge.project()), u"Team"_s));
    EXPECT_TRUE(m_dialogs.lastText().startsWith(u"Team\r\n\r\nThe matrix can show at most 100,000"_s));
    EXPECT_EQ(application->project().options()[0].Name, u"mine"_s);
}

TEST_F(ApplicationTest, OpeningThroughTheDialogAndTheDemo)
{
    auto application = startApplication();
    const QString cars = writeDemo(u"Cars.pnx"_s);
    m_dialogs.answers = {Dialogs::Answer::Yes};
    m_dialogs.files = {{cars, 0}};
    EXPECT_TRUE(
        application->projectFiles().open(QString(), ProjectFiles::Question::Ask, ProjectFiles::LastFolder::Update));
    EXPECT_EQ(m_dialogs.fileDialogs.last().title, text(TextKey::TXT00217));
    EXPECT_EQ(application->project().optionCount(), 3);
    EXPECT_EQ(application->matrixView().banner(), u"Cars"_s);
    EXPECT_EQ(application->matrixView().statusLine()->text(),
              u"3 "_s + text(TextKey::TXT00201) + u' ' + text(TextKey::TXT00150) + u" 3 "_s + text(TextKey::TXT00203));

    const QString folderBefore = application->project().lastFolder();
    m_dialogs.answers = {Dialogs::Answer::Yes};
    application->mainWindow().trigger(Command::Demo);
    EXPECT_EQ(application->matrixView().banner(), text(TextKey::TXT00213));
    EXPECT_TRUE(application->project().path().isEmpty());
    EXPECT_EQ(application->project().lastFolder(), folderBefore);
    EXPECT_TRUE(QFile::exists(m_folders.temporary + u"DemoProjekt.pnx"_s));
    // Its copy in the temporary folder is not the user's last project.
    EXPECT_EQ(application->settings().LastProject, QString());

    // Save now asks for a name in the folder used before the demo.
    m_dialogs.files = {};
    application->mainWindow().trigger(Command::Save);
    EXPECT_EQ(m_dialogs.fileDialogs.last().text, folderBefore + u"MyProject.pnx"_s);

    // Declining the demo's question leaves the open project as it was.
    application->projectFiles().open(cars, ProjectFiles::Question::DoNotAsk, ProjectFiles::LastFolder::Update);
    m_dialogs.answers = {Dialogs::Answer::No};
    application->mainWindow().trigger(Command::Demo);
    EXPECT_EQ(application->project().path(), cars);
    EXPECT_EQ(application->matrixView().banner(), u"Cars"_s);
}

TEST_F(ApplicationTest, DemoWithoutATemporaryFolderWritesNothingElsewhere)
{
    // A file where the temporary folder's parent should be: the program runs
    // on without the folder. The demo copy used to land in the working folder.
    writeBytes(file(u"blocked"_s), "x");
    m_folders.temporary = file(u"blocked/Ponderix/"_s);
    QDir(m_sandbox.path()).mkpath(u"work"_s);
    const QString workingFolder = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(file(u"work"_s)));
    auto application = startApplication();
    m_dialogs.answers = {Dialogs::Answer::Yes};
    application->mainWindow().trigger(Command::Demo);
    QDir::setCurrent(workingFolder);
    EXPECT_TRUE(QDir(file(u"work"_s)).isEmpty());
    // With no copy to open, the user is asked for a file, and cancelling keeps the project.
    ASSERT_EQ(m_dialogs.fileDialogs.size(), 1);
    EXPECT_EQ(m_dialogs.fileDialogs.last().title, text(TextKey::TXT00217));
    EXPECT_EQ(application->project().optionCount(), 1);
}

TEST_F(ApplicationTest, ATemporaryFolderThatCannotBeMadeShowsTheChartWarningWithTheReason)
{
    // The folder's path is a file: the component cannot be written anywhere.
    writeBytes(file(u"blocked"_s), "x");
    m_folders.temporary = file(u"blocked/"_s);
    auto application = startApplication();
    EXPECT_EQ(application->charts(), nullptr);
    ASSERT_EQ(m_dialogs.messages.size(), 1);
    EXPECT_EQ(m_dialogs.messages[0].icon, Dialogs::Icon::Warning);
    EXPECT_EQ(m_dialogs.messages[0].title, QString());
    EXPECT_EQ(m_dialogs.messages[0].text,
              text(TextKey::TXT00521) + u": "_s + file(u"blocked"_s) + u": Not a directory\nRMCHART.DLL"_s);
    application->shutDown();
    EXPECT_EQ(readBytes(file(u"blocked"_s)), "x");
}

TEST_F(ApplicationTest, NothingIsWrittenThroughLinksInTheTemporaryFolder)
{
    // Someone could write into the user's temporary folder and left links
    // to the user's files under the names the program writes.
    const QString folder = m_folders.temporary;
    QDir().mkpath(folder);
    const QStringList names = {u"TempDetailBG.bmp"_s, u"DemoProjekt.pnx"_s, u"RMChart.dll"_s};
    for (const QString& name : names) {
        writeBytes(file(u"victim-"_s + name), "the user's own file");
        ASSERT_TRUE(QFile::link(file(u"victim-"_s + name), folder + name));
    }
    ASSERT_EQ(chmod(QFile::encodeName(folder).constData(), 0777), 0);

    auto application = startApplication();
    m_dialogs.answers = {Dialogs::Answer::Yes};
    application->mainWindow().trigger(Command::Demo);
    EXPECT_EQ(application->matrixView().banner(), text(TextKey::TXT00213));
    EXPECT_EQ(application->project().optionCount(), 3);
    EXPECT_NE(application->charts(), nullptr);
    for (const QString& name : names)
        EXPECT_EQ(readBytes(file(u"victim-"_s + name)), "the user's own file") << name.toStdString();
    EXPECT_FALSE(QFileInfo(folder + u"TempDetailBG.bmp"_s).isSymLink());
    EXPECT_TRUE(readBytes(folder + u"TempDetailBG.bmp"_s).startsWith("BM"));
    EXPECT_FALSE(QFileInfo(folder + u"DemoProjekt.pnx"_s).isSymLink());
    EXPECT_EQ(QFileInfo(folder).permissions() & (QFile::WriteGroup | QFile::WriteOther), 0);
    application->shutDown();
    application.reset();

    // A link in a folder that was private all along is replaced too, never
    // written through.
    QDir().mkpath(folder);
    ASSERT_TRUE(QFile::link(file(u"victim-TempDetailBG.bmp"_s), folder + u"TempDetailBG.bmp"_s));
    ASSERT_TRUE(QFile::link(file(u"victim-DemoProjekt.pnx"_s), folder + u"DemoProjekt.pnx"_s));
    auto again = startApplication();
    m_dialogs.answers = {Dialogs::Answer::Yes};
    again->mainWindow().trigger(Command::Demo);
    EXPECT_EQ(again->project().optionCount(), 3);
    EXPECT_TRUE(readBytes(folder + u"TempDetailBG.bmp"_s).startsWith("BM"));
    for (const QString& name : names)
        EXPECT_EQ(readBytes(file(u"victim-"_s + name)), "the user's own file") << name.toStdString();
}

TEST_F(ApplicationTest, ALockThatCannotBeMadeDoesNotKeepTheUserOut)
{
    // No runtime folder, and a file where the configuration folder should
    // be: the lock has nowhere to go.
    qputenv("XDG_RUNTIME_DIR", QByteArray());
    writeBytes(file(u"config"_s), "x");
    m_folders.applicationData = file(u"config/Ponderix/"_s);
    ::testing::internal::CaptureStderr();
    auto application = startApplication();
    const std::string said = ::testing::internal::GetCapturedStderr();
    for (const auto& asked : m_dialogs.messages)
        EXPECT_NE(asked.text, text(TextKey::TXT00041));
    EXPECT_TRUE(application->mainWindow().isVisible());
    const QString expected = u"Ponderix: "_s + text(TextKey::TXT00520) + u": "_s
                             + file(u"config/Ponderix/Ponderix.lock"_s) + u": Not a directory\n"_s;
    EXPECT_NE(said.find(expected.toStdString()), std::string::npos) << said;
}

TEST_F(ApplicationTest, AStoredWindowTooSmallForTheLayoutIsRaisedToTheMinimum)
{
    // The grid's bottom edge and the status line's top in a window of the
    // default size, for comparison.
    const auto gapUnderGrid = [](Application& application) {
        const QRect grid = application.matrixView().ratingGrid()->geometry();
        return application.matrixView().statusLine()->geometry().top() - (grid.y() + grid.height());
    };
    int defaultGap = 0;
    {
        auto standard = startApplication();
        defaultGap = gapUnderGrid(*standard);
        EXPECT_GT(defaultGap, 0);
    }
    QDir().mkpath(m_folders.applicationData);
    writeBytes(settingsPath(), "\xEF\xBB\xBFWindowPosLeft = 10\r\nWindowPosTop = 10\r\n"
                               "WindowPosWidth = 200\r\nWindowPosHeight = 100\r\n");
    auto application = startApplication();
    MainWindow& window = application->mainWindow();
    const QSize minimum = window.minimumSize();
    QTRY_VERIFY(window.width() >= minimum.width() && window.height() >= minimum.height());
    EXPECT_EQ(window.client()->width(), minimum.width());
    EXPECT_EQ(gapUnderGrid(*application), defaultGap);
    // Enlarging keeps the layout whole.
    window.resizeClient(QSize(900, 700));
    QTRY_COMPARE(window.client()->size(), QSize(900, 700));
    EXPECT_EQ(gapUnderGrid(*application), defaultGap);
}

TEST_F(ApplicationTest, DropsOpenExactlyOneProjectFile)
{
    auto application = startApplication();
    const QString cars = writeDemo(u"Cars.PNX"_s);
    const auto drop = [&](const QStringList& names) { application->mainWindow().dropFiles(names); };
    drop({cars, writeDemo(u"Other.pnx"_s)});
    EXPECT_EQ(m_dialogs.lastText(), text(TextKey::TXT00102));
    EXPECT_EQ(m_dialogs.lastTitle(), text(TextKey::TXT00013));
    EXPECT_EQ(application->project().optionCount(), 1);

    drop({file(u"notes.txt"_s)});
    EXPECT_EQ(m_dialogs.lastText(), text(TextKey::TXT00102));

    m_dialogs.answers = {Dialogs::Answer::Yes};
    drop({cars});
    EXPECT_EQ(application->project().path(), cars);
    EXPECT_EQ(application->project().optionCount(), 3);
}

TEST_F(ApplicationTest, MenusCarryTheirShortcutsAndHelpCommandsOpenTheirTargets)
{
    auto application = startApplication();
    MainWindow& window = application->mainWindow();
    EXPECT_EQ(window.action(Command::New)->shortcut(), QKeySequence(u"Ctrl+N"_s));
    EXPECT_EQ(window.action(Command::SelectAll)->shortcut(), QKeySequence(u"Ctrl+A"_s));
    EXPECT_EQ(window.action(Command::Results)->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(window.action(Command::Report)->shortcut(), QKeySequence(Qt::Key_F3));
    EXPECT_EQ(window.action(Command::Robustness)->shortcut(), QKeySequence(Qt::Key_F4));
    EXPECT_TRUE(window.action(Command::Cut)->shortcut().isEmpty());
    EXPECT_TRUE(window.action(Command::Cut)->text().endsWith(u"\tCtrl+X"_s));

    window.trigger(Command::Help);
    ASSERT_EQ(m_dialogs.opened.size(), 1);
    EXPECT_EQ(m_dialogs.opened[0].toLocalFile(), m_folders.programFolder + text(TextKey::Offline_Hilfe));
    window.trigger(Command::WebPage);
    EXPECT_EQ(m_dialogs.opened.last(), QUrl(text(TextKey::Online_Adresse)));

    window.trigger(Command::Signature);
    EXPECT_EQ(m_dialogs.lastTitle(), text(TextKey::TXT00072));
    EXPECT_EQ(m_dialogs.propertiesShown, QStringList{m_folders.programPath});

    window.trigger(Command::About);
    EXPECT_EQ(m_dialogs.lastTitle(), u"Ponderix"_s);
    EXPECT_EQ(m_dialogs.lastText(), u"Ponderix\r\n\r\n"_s + text(TextKey::Version_Name) + u"\r\n\r\n"_s
                                        + text(TextKey::Copyright_Text) + u"\r\n\r\n"_s);
    EXPECT_EQ(m_dialogs.messages.last().icon, Dialogs::Icon::None);

    // Toolbar buttons run the same command as their menu items.
    m_dialogs.answers = {Dialogs::Answer::No};
    window.trigger(Command::ToolbarNew);
    EXPECT_EQ(m_dialogs.lastTitle(), text(TextKey::TXT00210));
}

TEST_F(ApplicationTest, TheHelpsMenuTableListsEveryItemOfEveryMenu)
{
    auto application = startApplication();
    const QString help = QString::fromUtf8(readBytes(m_folders.programFolder + text(TextKey::Offline_Hilfe)));
    const auto plain = [](const QString& caption) { return caption.section(u'\t', 0, 0).remove(u'&'); };
    for (QAction* menu : application->mainWindow().menuBar()->actions()) {
        const QRegularExpression rowPattern(u"<tr><td class=\"ui\">"_s + QRegularExpression::escape(plain(menu->text()))
                                            + u"</td><td>([^<]*)</td></tr>"_s);
        const QString row = rowPattern.match(help).captured(1);
        ASSERT_FALSE(row.isEmpty()) << plain(menu->text()).toStdString();
        for (const QAction* item : menu->menu()->actions()) {
            if (item->isSeparator())
                continue;
            EXPECT_TRUE(row.contains(plain(item->text()))) << plain(item->text()).toStdString();
        }
    }
}

TEST_F(ApplicationTest, EditCommandsActOnTheFocusedTextField)
{
    auto application = startApplication();
    QApplication::setActiveWindow(&application->mainWindow());
    QLineEdit* field = application->mainWindow().client()->findChild<QLineEdit*>();
    ASSERT_NE(field, nullptr);
    field->setFocus();
    field->setText(u"Alpha"_s);
    application->mainWindow().trigger(Command::SelectAll);
    if (QApplication::focusWidget() != field)
        GTEST_SKIP() << "the offscreen platform gave no focus";
    EXPECT_EQ(field->selectedText(), u"Alpha"_s);
    application->mainWindow().trigger(Command::Clear);
    EXPECT_TRUE(field->text().isEmpty());

    field->setText(u"Beta"_s);
    field->setCursorPosition(0);
    application->mainWindow().trigger(Command::Clear); // nothing selected: nothing removed
    EXPECT_EQ(field->text(), u"Beta"_s);
}

TEST_F(ApplicationTest, ResultCommandsOpenTheirWindowsOverTheMainWindow)
{
    auto application = startApplication({writeDemo(u"Cars.pnx"_s)});
    MainWindow& window = application->mainWindow();
    const auto openedBy = [&](Command command) -> QWidget* {
        window.trigger(command);
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (top != &window && top->isVisible() && top->windowTitle().endsWith(u" - Ponderix"_s))
                return top;
        }
        return nullptr;
    };
    // The robustness window alone stays open beside an enabled main window.
    const struct {
        Command command;
        TextKey title;
        bool modal;
    } cases[] = {
        {Command::ToolbarResults, TextKey::TXT00274, true},
        {Command::Profile, TextKey::TXT00275, true},
        {Command::Robustness, TextKey::TXT00440, false},
        {Command::Report, TextKey::TXT00269, true},
    };
    for (const auto& [command, titleKey, modal] : cases) {
        QWidget* result = openedBy(command);
        ASSERT_NE(result, nullptr) << static_cast<int>(command);
        EXPECT_EQ(result->windowTitle(), text(titleKey) + u" - Ponderix"_s);
        EXPECT_EQ(window.isEnabled(), !modal);
        result->close();
        QApplication::processEvents();
        EXPECT_TRUE(window.isEnabled());
    }
    // The windows score copies of their own: the open project, as read,
    // holds no score (the demo's best would be 65).
    EXPECT_EQ(application->project().options()[0].score, 0);
}

TEST_F(ApplicationTest, TheAnalysisMenuListsRobustnessAfterProfile)
{
    auto application = startApplication();
    const QList<QAction*> menus = application->mainWindow().menuBar()->actions();
    ASSERT_GE(menus.size(), 3);
    EXPECT_EQ(menus[2]->text(), text(TextKey::MEN00003));
    ASSERT_NE(menus[2]->menu(), nullptr);
    QStringList items;
    QList<QKeySequence> keys;
    for (const QAction* item : menus[2]->menu()->actions()) {
        items << item->text();
        keys << item->shortcut();
    }
    EXPECT_EQ(items, (QStringList{u"Results"_s, u"Profile"_s, u"Robustness"_s, u"Report"_s}));
    EXPECT_EQ(keys, (QList<QKeySequence>{QKeySequence(Qt::Key_F1), QKeySequence(Qt::Key_F2), QKeySequence(Qt::Key_F4),
                                         QKeySequence(Qt::Key_F3)}));
    EXPECT_TRUE(application->mainWindow().action(Command::Robustness)->isEnabled());
}

TEST_F(ApplicationTest, EveryControlOfTheMainWindowHasANameForScreenReaders)
{
    // The overflow buttons of the toolbar and the menu bar included, which
    // Qt makes nameless.
    auto application = startApplication();
    MainWindow& window = application->mainWindow();
    window.show();
    const QList<QAbstractButton*> buttons = window.findChildren<QAbstractButton*>();
    ASSERT_TRUE(std::ranges::any_of(buttons, [](const QAbstractButton* button) {
        return button->objectName() == u"qt_toolbar_ext_button"_s;
    }));
    for (QAbstractButton* button : buttons) {
        QAccessibleInterface* face = QAccessible::queryAccessibleInterface(button);
        ASSERT_NE(face, nullptr);
        EXPECT_FALSE(face->text(QAccessible::Name).trimmed().isEmpty())
            << button->metaObject()->className() << " " << button->objectName().toStdString();
    }
    for (const auto& [objectName, name] : {std::pair{u"qt_toolbar_ext_button"_s, TextKey::TXT00568},
                                           std::pair{u"qt_menubar_ext_button"_s, TextKey::TXT00569}}) {
        auto* more = window.findChild<QAbstractButton*>(objectName);
        ASSERT_NE(more, nullptr) << objectName.toStdString();
        EXPECT_EQ(QAccessible::queryAccessibleInterface(more)->text(QAccessible::Name), text(name));
    }
}

TEST_F(ApplicationTest, F4OpensOneLiveRobustnessWindowThatFollowsTheSliders)
{
    auto application = startApplication({writeDemo(u"Cars.pnx"_s)});
    MainWindow& window = application->mainWindow();
    const Project& project = application->project();
    const auto robustnessWindows = [] {
        QList<QWidget*> found;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (widget->isVisible() && widget->windowTitle() == u"Robustness - Ponderix"_s)
                found << widget;
        }
        return found;
    };
    const auto shownPage = [](QWidget* opened) {
        auto* tabs = opened->findChild<QTabWidget*>();
        auto* picture = qobject_cast<QLabel*>(qobject_cast<QScrollArea*>(tabs->widget(0))->widget());
        return picture->pixmap().toImage().convertToFormat(QImage::Format_RGB32);
    };
    const auto analysedNow = [&project] {
        return buildRobustnessPage(project, analyseRobustness(project), u"Cars"_s)
            .convertToFormat(QImage::Format_RGB32);
    };

    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_F4);
    ASSERT_EQ(robustnessWindows().size(), 1);
    QWidget* opened = robustnessWindows().front();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_TRUE(window.isEnabled());
    const QImage before = shownPage(opened);
    EXPECT_EQ(before, analysedNow());

    // Option B's price rating moved to the top, the way a user drags it,
    // while the window stays open.
    RatingCell* cell = application->matrixView().ratingCell(1, 0);
    ASSERT_NE(cell, nullptr);
    ASSERT_TRUE(cell->isComplete());
    cell->valueSlider()->triggerAction(QAbstractSlider::SliderToMaximum);
    ASSERT_EQ(project.ratingOf(1, 0)->Value, 10);
    QApplication::processEvents();
    EXPECT_EQ(shownPage(opened), analysedNow());
    EXPECT_NE(shownPage(opened), before);

    // F4 again brings the same window forward.
    QApplication::setActiveWindow(&window);
    QTest::keyClick(&window, Qt::Key_F4);
    EXPECT_EQ(robustnessWindows(), QList<QWidget*>{opened});
    opened->close();
    QApplication::processEvents();
    EXPECT_TRUE(window.isEnabled());
    EXPECT_TRUE(robustnessWindows().isEmpty());
}

TEST_F(ApplicationTest, QuitAsksOnceAndLeavesTheEventLoop)
{
    auto application = startApplication();
    m_dialogs.answers = {Dialogs::Answer::No};
    QTimer::singleShot(0, &application->mainWindow(), [&] { application->mainWindow().trigger(Command::Quit); });
    // Should the loop not end, this ends it with a code the test rejects.
    QTimer::singleShot(10000, &application->mainWindow(), [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    const auto questions = std::count_if(m_dialogs.messages.begin(), m_dialogs.messages.end(),
                                         [](const auto& asked) { return asked.title == text(TextKey::TXT00100); });
    EXPECT_EQ(questions, 1);
}

TEST_F(ApplicationTest, CloseBoxAsksTheQuitQuestion)
{
    auto application = startApplication();
    MainWindow& window = application->mainWindow();
    m_dialogs.answers = {Dialogs::Answer::Cancel};
    window.close();
    EXPECT_TRUE(window.isVisible()); // Cancel stays
    EXPECT_EQ(m_dialogs.lastTitle(), text(TextKey::TXT00100));

    m_dialogs.answers = {Dialogs::Answer::No};
    QTimer::singleShot(0, &window, [&window] { window.close(); });
    QTimer::singleShot(10000, &window, [] { QCoreApplication::exit(1); });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_EQ(m_dialogs.messages.size(), 2);
}

TEST(QtDialogsTest, TypingInTheTextEntryAddsToTheOldText)
{
    // The entry used to open with its text selected, so the first key typed
    // replaced a comment the user only meant to extend.
    QtDialogs dialogs(nullptr);
    QTimer typist;
    QObject::connect(&typist, &QTimer::timeout, &typist, [&typist] {
        auto* dialog = qobject_cast<QInputDialog*>(QApplication::activeModalWidget());
        if (!dialog || !dialog->isVisible())
            return;
        typist.stop();
        QTest::keyClicks(dialog->findChild<QLineEdit*>(), u", used"_s);
        dialog->accept();
    });
    typist.start(10);
    const std::optional<QString> entered = dialogs.textEntry(u"Comment"_s, u"Comment A:1"_s, u"Diesel"_s);
    ASSERT_TRUE(entered.has_value());
    EXPECT_EQ(*entered, u"Diesel, used"_s);
}

TEST_F(ApplicationTest, OnlyLocalFilesCanBeDragged)
{
    auto application = startApplication();
    const auto accepts = [&](const QList<QUrl>& urls) {
        QMimeData data;
        data.setUrls(urls);
        QDragEnterEvent event(QPoint(20, 200), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        event.setAccepted(false);
        QApplication::sendEvent(&application->mainWindow(), &event);
        return event.isAccepted();
    };
    EXPECT_TRUE(accepts({QUrl::fromLocalFile(file(u"Cars.pnx"_s))}));
    EXPECT_FALSE(accepts({QUrl(u"https://example.org/Cars.pnx"_s)}));
    EXPECT_FALSE(accepts({QUrl::fromLocalFile(file(u"Cars.pnx"_s)), QUrl(u"https://example.org/x.pnx"_s)}));
}

TEST(WindowRules, SmallDesktopsGetShorterWindows)
{
    EXPECT_EQ(defaultWindowSize(600), QSize(760, 540));
    EXPECT_EQ(defaultWindowSize(601), QSize(760, 630));
}

TEST(WindowRules, StoredGeometryOnlyWhenUsable)
{
    Settings settings;
    settings.WindowPosLeft = 0;
    settings.WindowPosTop = 10;
    settings.WindowPosWidth = 800;
    settings.WindowPosHeight = 600;
    EXPECT_EQ(storedWindowGeometry(settings), QRect(0, 10, 800, 600));
    const auto without = [&settings](int Settings::*field, int value) {
        Settings changed = settings;
        changed.*field = value;
        return storedWindowGeometry(changed);
    };
    EXPECT_FALSE(without(&Settings::WindowPosLeft, -1).has_value());
    EXPECT_FALSE(without(&Settings::WindowPosTop, -5).has_value());
    EXPECT_FALSE(without(&Settings::WindowPosWidth, 0).has_value());
    Settings flat = settings;
    flat.WindowPosHeight = 0;
    EXPECT_FALSE(storedWindowGeometry(flat).has_value());
}

TEST(WindowRules, StoredGeometryIsFittedToTheScreen)
{
    // A panel takes the top 30 pixels; the client area is at least 630 x 415
    // and has a 25-pixel menu bar above it.
    const QRect screen(0, 30, 1920, 1050);
    const QSize minimum(630, 415);
    const std::pair<QRect, QRect> cases[] = {
        {{10, 40, 800, 600}, {10, 40, 800, 600}},       {{0, 0, 16777216, 16777216}, {0, 30, 1920, 1025}},
        {{5000, 100, 800, 600}, {1120, 100, 800, 600}}, {{100, 2000, 800, 600}, {100, 455, 800, 600}},
        {{0, 0, 800, 600}, {0, 30, 800, 600}},          {{1910, 1070, 16777216, 5}, {0, 640, 1920, 415}},
    };
    for (const auto& [stored, fitted] : cases)
        EXPECT_EQ(fittedToScreen(stored, screen, minimum, 25), fitted) << stored.x() << "," << stored.y();
}

TEST(MainWindowPictures, ToolbarIconsAndWindowIconComeDrawnForEveryDensity)
{
    MainWindow window(BuiltInImages::instance(), QSize(760, 630));
    using Picture = BuiltInImages::Picture;
    const std::pair<Command, Picture> buttons[] = {
        {Command::ToolbarNew, Picture::ToolbarNew},         {Command::ToolbarOpen, Picture::ToolbarOpen},
        {Command::ToolbarSave, Picture::ToolbarSave},       {Command::ToolbarResults, Picture::ToolbarResults},
        {Command::ToolbarProfile, Picture::ToolbarProfile}, {Command::ToolbarReport, Picture::ToolbarReport},
    };
    const auto premultiplied = [](const QImage& image) {
        return image.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    };
    const QSize icon(48, 48);
    for (const auto& [command, picture] : buttons) {
        SCOPED_TRACE(static_cast<int>(command));
        QAction* action = window.action(command);
        ASSERT_NE(action, nullptr);
        // 1x shows the icon as it always was; a dense screen gets the icon
        // drawn for it, not the 1x one blown up.
        EXPECT_EQ(premultiplied(action->icon().pixmap(icon, 1.0).toImage()),
                  premultiplied(BuiltInImages::draw(picture, 1.0)));
        for (const qreal ratio : {1.25, 1.5, 2.0}) {
            const QPixmap shown = action->icon().pixmap(icon, ratio);
            EXPECT_EQ(shown.size(), icon * ratio) << ratio;
            EXPECT_EQ(shown.devicePixelRatio(), ratio);
            EXPECT_EQ(premultiplied(shown.toImage()), premultiplied(BuiltInImages::draw(picture, ratio))) << ratio;
        }
        // A disabled button still greys its icon, at the density too.
        const QPixmap disabled = action->icon().pixmap(icon, 2.0, QIcon::Disabled);
        EXPECT_EQ(disabled.size(), icon * 2);
        EXPECT_NE(premultiplied(disabled.toImage()), premultiplied(action->icon().pixmap(icon, 2.0).toImage()));
    }
    EXPECT_EQ(window.windowIcon().pixmap(QSize(64, 64), 2.0).size(), QSize(128, 128));

    // For a look at the toolbar and logo as the screen shows them:
    // PONDERIX_SHOTS names a folder.
    const QString folder = qEnvironmentVariable("PONDERIX_SHOTS");
    if (!folder.isEmpty()) {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
        window.grab().save(
            QDir(folder).filePath(u"main-window-"_s + QString::number(window.devicePixelRatioF()) + u".png"_s));
    }
}
