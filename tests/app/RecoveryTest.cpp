#include "app/Recovery.h"
#include "app/MainWindow.h"
#include "app/ProjectFiles.h"
#include "base/SettingsFile.h"
#include "editor/MatrixCells.h"
#include "editor/MatrixView.h"
#include "project/ProjectReader.h"
#include "tests/app/AppSandbox.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QSlider>
#include <QTest>

#include <algorithm>
#include <functional>

#include <sys/stat.h>

using namespace ponderix;
using namespace ponderix::test;
using namespace Qt::StringLiterals;

namespace {

class RecoveryTest : public AppSandbox {
protected:
    QString recoveryProject() const { return m_folders.state + u"Recovery.pnx"_s; }
    QString recoverySide() const { return m_folders.state + u"Recovery.json"_s; }

    static void rename(Application& application, const QString& name)
    {
        application.matrixView().optionCell(0)->nameField()->setText(name);
    }

    static QJsonObject side(const QString& path) { return QJsonDocument::fromJson(readBytes(path)).object(); }

    // Leaves a recovery copy as a crash would: written, never removed.
    void leaveCopy(const QString& projectPath, const QString& banner)
    {
        ASSERT_TRUE(QDir().mkpath(m_folders.state));
        Project project = readProjectBytes(demoProjectBytes()).project();
        project.setOptionName(2, u"Unsaved"_s);
        ASSERT_TRUE(RecoveryFile(m_folders.state).write(project, projectPath, banner));
    }

    qsizetype questionsAsked() const
    {
        return std::count_if(m_dialogs.messages.begin(), m_dialogs.messages.end(),
                             [](const auto& asked) { return asked.text.startsWith(uiText(TextKey::TXT00620)); });
    }
};

} // namespace

TEST_F(RecoveryTest, AChangeIsCopiedWithinTwoSecondsAndSavingRemovesTheCopy)
{
    const QString cars = writeDemo(u"Cars.pnx"_s);
    auto application = startApplication({cars});
    EXPECT_FALSE(QFile::exists(recoveryProject()));
    // The state folder is the user's alone.
    EXPECT_EQ(QFileInfo(m_folders.state).permissions() & (QFile::ReadGroup | QFile::ReadOther), 0);

    rename(*application, u"Re"_s);
    rename(*application, u"Renamed"_s);
    // Not on every key: the copy waits for the delay.
    EXPECT_FALSE(QFile::exists(recoveryProject()));
    EXPECT_TRUE(application->recovery().pending());
    QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(recoveryProject()), 3000);
    ReadResult copy = readProjectFile(recoveryProject());
    ASSERT_TRUE(copy.ok());
    EXPECT_EQ(copy.project().options()[0].Name, u"Renamed"_s);
    EXPECT_EQ(side(recoverySide()).value(u"path"_s).toString(), cars);
    EXPECT_EQ(side(recoverySide()).value(u"banner"_s).toString(), u"Cars"_s);

    application->mainWindow().trigger(Command::Save);
    EXPECT_FALSE(QFile::exists(recoveryProject()));
    EXPECT_FALSE(QFile::exists(recoverySide()));
    EXPECT_FALSE(application->recovery().pending());
}

TEST_F(RecoveryTest, AnotherProjectOrANormalEndRemovesTheCopy)
{
    const QString cars = writeDemo(u"Cars.pnx"_s);
    auto application = startApplication({cars});
    const auto copyMade = [&] {
        rename(*application, u"changed"_s + QString::number(m_dialogs.messages.size()));
        application->recovery().writeNow();
        return QFile::exists(recoveryProject());
    };
    ASSERT_TRUE(copyMade());
    m_dialogs.answers = {Dialogs::Answer::Yes};
    application->mainWindow().trigger(Command::New);
    EXPECT_FALSE(QFile::exists(recoveryProject()));

    ASSERT_TRUE(copyMade());
    m_dialogs.answers = {Dialogs::Answer::Yes};
    application->mainWindow().trigger(Command::Demo);
    EXPECT_FALSE(QFile::exists(recoveryProject()));

    ASSERT_TRUE(copyMade());
    application->projectFiles().open(cars, ProjectFiles::Question::DoNotAsk, ProjectFiles::LastFolder::Update);
    EXPECT_FALSE(QFile::exists(recoveryProject()));

    // Declining a question keeps the work, and so its copy.
    ASSERT_TRUE(copyMade());
    m_dialogs.answers = {Dialogs::Answer::No};
    application->mainWindow().trigger(Command::New);
    EXPECT_TRUE(QFile::exists(recoveryProject()));

    m_dialogs.answers = {Dialogs::Answer::No};
    ASSERT_TRUE(application->confirmQuit());
    application->shutDown();
    EXPECT_FALSE(QFile::exists(recoveryProject()));
    EXPECT_FALSE(QFile::exists(recoverySide()));
}

TEST_F(RecoveryTest, YesRestoresTheWorkWithItsPathAndBanner)
{
    const QString cars = writeDemo(u"Cars.pnx"_s);
    leaveCopy(cars, u"Cars"_s);
    const QDateTime written = QFileInfo(recoveryProject()).lastModified();
    m_dialogs.answers = {Dialogs::Answer::Yes};
    auto application = startApplication();

    ASSERT_EQ(m_dialogs.messages.size(), 1);
    EXPECT_EQ(m_dialogs.messages[0].title, u"Ponderix"_s);
    EXPECT_EQ(m_dialogs.messages[0].text,
              u"Ponderix was not closed properly. Restore the unsaved changes to \"Cars\" from \""_s
                  + QLocale().toString(written, QLocale::ShortFormat) + u"\"?\r\n\r\n"_s
                  + u"The restored project will be saved to "_s + cars);
    EXPECT_EQ(m_dialogs.messages[0].buttons, Dialogs::Buttons::YesNo);
    EXPECT_EQ(m_dialogs.messages[0].icon, Dialogs::Icon::Question);

    EXPECT_EQ(application->project().options()[2].Name, u"Unsaved"_s);
    EXPECT_EQ(application->project().path(), cars);
    EXPECT_EQ(application->matrixView().banner(), u"Cars"_s);
    EXPECT_EQ(application->matrixView().optionCell(2)->nameField()->text(), u"Unsaved"_s);
    // Still unsaved work: the copy stays until it is saved.
    EXPECT_TRUE(QFile::exists(recoveryProject()));
    application->mainWindow().trigger(Command::Save);
    EXPECT_TRUE(readBytes(cars).contains("Name=\"Unsaved\""));
    EXPECT_FALSE(QFile::exists(recoveryProject()));
}

TEST_F(RecoveryTest, AFileGivenAtStartIsOpenedAfterNoAndReportedNotOpenedAfterYes)
{
    const QString cars = writeDemo(u"Cars.pnx"_s);
    const QString plan = writeDemo(u"Plan.pnx"_s);
    QDir::setCurrent(m_sandbox.path());
    struct Case {
        QString restoredPath;
        Dialogs::Answer answer;
        QString openPath; // the project open afterwards
        bool toldNotOpened;
    };
    const Case cases[] = {
        {cars, Dialogs::Answer::No, plan, false},
        {cars, Dialogs::Answer::Yes, cars, true},
        // The copy is of the very file given: it is open, with the changes.
        {plan, Dialogs::Answer::Yes, plan, false},
    };
    for (const Case& c : cases) {
        m_dialogs.messages.clear();
        leaveCopy(c.restoredPath, bannerForFile(c.restoredPath));
        m_dialogs.answers = {c.answer};
        // Typed in a terminal: relative to the folder the user is in.
        auto application = startApplication({u"Plan.pnx"_s});
        EXPECT_EQ(application->project().path(), c.openPath);
        const QString notice = uiText(TextKey::TXT00844).arg(u"\""_s + plan + u"\""_s);
        const bool told = std::any_of(m_dialogs.messages.begin(), m_dialogs.messages.end(),
                                      [&](const auto& shown) { return shown.text == notice; });
        EXPECT_EQ(told, c.toldNotOpened) << c.openPath.toStdString();
        application->mainWindow().trigger(Command::Save);
        application->shutDown();
    }
}

TEST_F(RecoveryTest, TheProjectIsRecordedForTheNextStartWhenOpenedOrSaved)
{
    const QString cars = writeDemo(u"Cars.pnx"_s);
    auto application = startApplication();
    const auto recorded = [&] { return readSettingsFile(m_folders.settingsFile(), QString()).LastProject; };
    ASSERT_TRUE(
        application->projectFiles().open(cars, ProjectFiles::Question::DoNotAsk, ProjectFiles::LastFolder::Update));
    EXPECT_EQ(recorded(), cars);
    // In the same folder: only the name tells the two apart.
    const QString copy = file(u"Copy.pnx"_s);
    m_dialogs.files = {{copy, 0}};
    application->mainWindow().trigger(Command::SaveAs);
    EXPECT_EQ(recorded(), copy);
}

TEST_F(RecoveryTest, NoDeletesTheCopyAndStartsAsUsual)
{
    const QString cars = writeDemo(u"Cars.pnx"_s);
    leaveCopy(QString(), uiText(TextKey::TXT00213));
    m_dialogs.answers = {Dialogs::Answer::No};
    auto application = startApplication({cars});
    EXPECT_EQ(questionsAsked(), 1);
    EXPECT_TRUE(m_dialogs.messages[0].text.contains(u"\""_s + uiText(TextKey::TXT00213) + u"\""_s));
    EXPECT_FALSE(QFile::exists(recoveryProject()));
    EXPECT_FALSE(QFile::exists(recoverySide()));
    EXPECT_EQ(application->project().path(), cars);
    EXPECT_EQ(application->project().options()[2].Name, readProjectFile(cars).project().options()[2].Name);
}

TEST_F(RecoveryTest, ADamagedCopyIsReportedOnceAndKeptAside)
{
    ASSERT_TRUE(QDir().mkpath(m_folders.state));
    const QByteArray damaged = "<Ponderix><Options>";
    ASSERT_TRUE(writeBytes(recoveryProject(), damaged));
    ASSERT_TRUE(writeBytes(recoverySide(), R"({"path":"","banner":"x"})"));
    {
        auto application = startApplication();
        ASSERT_EQ(m_dialogs.messages.size(), 1);
        EXPECT_EQ(m_dialogs.messages[0].icon, Dialogs::Icon::Warning);
        EXPECT_TRUE(m_dialogs.messages[0].text.startsWith(uiText(TextKey::TXT00622)));
        EXPECT_EQ(questionsAsked(), 0);
        // Start-up went on to the usual new project.
        EXPECT_EQ(application->project().optionCount(), 1);
        application->shutDown();
    }
    EXPECT_FALSE(QFile::exists(recoveryProject()));
    const QStringList kept = QDir(m_folders.state).entryList({u"Recovery-damaged-*.pnx"_s}, QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(readBytes(m_folders.state + kept[0]), damaged);
    EXPECT_TRUE(m_dialogs.messages[0].text.contains(m_folders.state + kept[0]));

    m_dialogs.messages.clear();
    auto again = startApplication();
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
}

// The side file names where the restored work is saved; only a project file
// is taken at its word. Anything else (a file that is no project, a name
// without ".pnx", a folder that is not there, a relative name) restores the
// work without a path, and the question says Save will ask.
TEST_F(RecoveryTest, TheRestoredWorkKeepsItsPathOnlyWhenItNamesAProjectFile)
{
    const QString cars = writeDemo(u"Cars.pnx"_s);
    ASSERT_TRUE(writeBytes(file(u"bashrc"_s), "alias ls='ls -la'\n"));
    const struct {
        QString path;
        QString kept;
    } cases[] = {
        {cars, cars},
        {file(u"New.pnx"_s), file(u"New.pnx"_s)},
        {file(u"missing/../Cars.pnx"_s), cars},
        {file(u"bashrc"_s), QString()},
        {file(u"New.txt"_s), QString()},
        {file(u"missing/New.pnx"_s), QString()},
        {u"Cars.pnx"_s, QString()},
    };
    for (const auto& c : cases) {
        leaveCopy(c.path, u"Cars"_s);
        m_dialogs.messages.clear();
        m_dialogs.answers = {Dialogs::Answer::Yes};
        auto application = startApplication();
        EXPECT_EQ(application->project().path(), c.kept) << c.path.toStdString();
        EXPECT_TRUE(m_dialogs.messages.value(0).text.endsWith(c.kept.isEmpty() ? uiText(TextKey::TXT00843) : c.kept))
            << c.path.toStdString();
        application->shutDown();
    }
    EXPECT_EQ(readBytes(file(u"bashrc"_s)), "alias ls='ls -la'\n");
}

// What another account could have put in the state folder is never offered:
// the folder was open to others' writing, or a copy's file is a link or
// another account's.
TEST_F(RecoveryTest, ACopyThatMayNotBeTheUsersOwnIsSetAsideUnoffered)
{
    const QString cars = writeDemo(u"Cars.pnx"_s);
    enum Planted { OpenFolder, Link, OthersFile };
    for (const Planted planted : {OpenFolder, Link, OthersFile}) {
        if (planted == OthersFile && geteuid() != 0)
            continue; // only root can give a file to another account
        leaveCopy(cars, u"Cars"_s);
        const bool openFolder = planted == OpenFolder;
        if (openFolder) {
            ASSERT_EQ(chmod(QFile::encodeName(m_folders.state).constData(), 0777), 0);
        } else if (planted == Link) {
            ASSERT_TRUE(QFile::rename(recoverySide(), file(u"elsewhere.json"_s)));
            ASSERT_TRUE(QFile::link(file(u"elsewhere.json"_s), recoverySide()));
        } else {
            ASSERT_EQ(chown(QFile::encodeName(recoverySide()).constData(), 65534, 65534), 0);
        }
        m_dialogs.messages.clear();
        auto application = startApplication();
        EXPECT_EQ(questionsAsked(), 0) << planted;
        ASSERT_EQ(m_dialogs.messages.size(), 1) << planted;
        EXPECT_TRUE(m_dialogs.messages[0].text.startsWith(uiText(TextKey::TXT00622)));
        EXPECT_TRUE(m_dialogs.messages[0].text.contains(uiText(openFolder ? TextKey::TXT00840 : TextKey::TXT00841)));
        EXPECT_FALSE(QFile::exists(recoveryProject()));
        application->shutDown();
    }
}

// A link planted at the copy's name is replaced, not written through.
TEST_F(RecoveryTest, TheCopyIsNeverWrittenThroughALink)
{
    ASSERT_TRUE(QDir().mkpath(m_folders.state));
    ASSERT_TRUE(writeBytes(file(u"target"_s), "precious"));
    for (const QString& name : {u"Recovery.pnx"_s, u"Recovery.json"_s})
        ASSERT_TRUE(QFile::link(file(u"target"_s), m_folders.state + name));
    const Project project = readProjectBytes(demoProjectBytes()).project();
    ASSERT_TRUE(RecoveryFile(m_folders.state).write(project, QString(), u"Cars"_s));
    EXPECT_EQ(readBytes(file(u"target"_s)), "precious");
    EXPECT_FALSE(QFileInfo(recoveryProject()).isSymLink());
    EXPECT_TRUE(readProjectFile(recoveryProject()).ok());
}

// A damaged copy that cannot be renamed is not said to be kept aside: it
// stays where it is, under its own name. The folder is so deep that
// "Recovery.pnx" still fits in a path and "Recovery-damaged-<date>-<time>.pnx",
// 24 characters longer, does not: the rename fails for every user, root
// included.
TEST_F(RecoveryTest, ADamagedCopyThatCannotBeRenamedIsNotKeptAside)
{
    constexpr qsizetype kLongestPath = 4095; // PATH_MAX less its terminating zero
    constexpr qsizetype kFolderLength = kLongestPath - 25;
    QString deep = m_sandbox.path();
    while (deep.size() < kFolderLength)
        deep += u'/' + QString(std::clamp<qsizetype>(kFolderLength - deep.size() - 1, 1, 200), u'd');
    ASSERT_TRUE(QDir().mkpath(deep));
    const RecoveryFile file(deep);
    ASSERT_LE(file.projectPath().size(), kLongestPath);
    ASSERT_GT(file.projectPath().size() + 24, kLongestPath);
    const QByteArray damaged = "<Ponderix><Options>";
    ASSERT_TRUE(writeBytes(file.projectPath(), damaged));

    const QString keptAs = file.keepAside(QDateTime(QDate(2026, 3, 4), QTime(5, 6, 7)));
    EXPECT_TRUE(keptAs.isEmpty()) << "said to be kept as " << QFileInfo(keptAs).fileName().toStdString();
    EXPECT_EQ(readBytes(file.projectPath()), damaged);
    EXPECT_EQ(QDir(deep).entryList(QDir::Files), QStringList{u"Recovery.pnx"_s});
}

// Typing on for longer than the delay still gets the work copied: a later
// change does not put off the copy an earlier one is waiting for.
TEST_F(RecoveryTest, ChangesWithoutAPauseAreCopiedWithinTwoSeconds)
{
    ASSERT_TRUE(QDir().mkpath(m_folders.state));
    Project project = readProjectBytes(demoProjectBytes()).project();
    RecoveryKeeper keeper(RecoveryFile(m_folders.state), project, [] { return u"Cars"_s; }, {});
    // A change every tenth of a second for four seconds, or until the copy
    // is there.
    QElapsedTimer typing;
    typing.start();
    while (typing.elapsed() < 4000 && !QFile::exists(recoveryProject())) {
        project.setOptionName(0, u"Name "_s + QString::number(typing.elapsed()));
        keeper.changed();
        QTest::qWait(100);
    }
    EXPECT_TRUE(QFile::exists(recoveryProject())) << "no copy after " << typing.elapsed() << " ms of typing";
}

TEST_F(RecoveryTest, AFailedCopyIsReportedOnceNamingTheFolder)
{
    const QString folder = QDir::cleanPath(m_folders.state);
    // A folder where the copy should go; the state folder gone and a file in
    // its place, where the system's reason names no file.
    const std::function<bool()> blockers[] = {
        [&] { return QDir().mkpath(recoveryProject()); },
        [&] { return QDir(folder).removeRecursively() && writeBytes(folder, "not a folder"); },
    };
    for (const auto& block : blockers) {
        m_dialogs.messages.clear();
        auto application = startApplication();
        ASSERT_TRUE(block());
        for (const QString& name : {u"one"_s, u"two"_s}) {
            rename(*application, name);
            application->recovery().writeNow();
        }
        ASSERT_EQ(m_dialogs.messages.size(), 1);
        EXPECT_EQ(m_dialogs.messages[0].title, uiText(TextKey::TXT00001));
        const QString text = m_dialogs.messages[0].text;
        EXPECT_TRUE(text.startsWith(uiText(TextKey::TXT00623) + u"\r\n"_s + folder)) << text.toStdString();
        application->shutDown();
        QDir(folder).removeRecursively();
        QFile::remove(folder);
    }
}

TEST_F(RecoveryTest, AStateFolderThatCannotBeMadeIsReportedAtTheFirstChange)
{
    // A file where the state folder's parent should be: nothing can be kept.
    const QString parent = m_sandbox.filePath(u"state"_s);
    QFile blocker(parent);
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    auto application = startApplication();
    EXPECT_TRUE(m_dialogs.messages.isEmpty());
    for (const QString& name : {u"one"_s, u"two"_s}) {
        rename(*application, name);
        application->recovery().writeNow();
    }
    ASSERT_EQ(m_dialogs.messages.size(), 1);
    EXPECT_EQ(m_dialogs.messages[0].icon, Dialogs::Icon::Warning);
    const QString text = m_dialogs.messages[0].text;
    EXPECT_TRUE(text.startsWith(uiText(TextKey::TXT00623) + u"\r\n"_s)) << text.toStdString();
    // The reason names the folder.
    EXPECT_TRUE(text.contains(u"state/Ponderix"_s)) << text.toStdString();
    EXPECT_TRUE(QFileInfo(parent).isFile());
}

// The real program in a process of its own, killed the hard way.
class RecoveryProcessTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_sandbox.isValid());
        for (const char* folder : {"home", "config", "state", "runtime"})
            QDir(m_sandbox.path()).mkpath(QString::fromLatin1(folder));
        chmod(QFile::encodeName(m_sandbox.filePath(u"runtime"_s)).constData(), 0700);
        m_project = m_sandbox.filePath(u"Cars.pnx"_s);
        ASSERT_TRUE(writeBytes(m_project, demoProjectBytes().toByteArray()));
    }

    QProcessEnvironment environment() const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert(u"QT_QPA_PLATFORM"_s, u"offscreen"_s);
        environment.insert(u"HOME"_s, m_sandbox.filePath(u"home"_s));
        environment.insert(u"XDG_CONFIG_HOME"_s, m_sandbox.filePath(u"config"_s));
        environment.insert(u"XDG_STATE_HOME"_s, m_sandbox.filePath(u"state"_s));
        environment.insert(u"XDG_RUNTIME_DIR"_s, m_sandbox.filePath(u"runtime"_s));
        environment.insert(u"ASAN_OPTIONS"_s, u"detect_leaks=0"_s);
        return environment;
    }

    QString recoveryProject() const { return m_sandbox.filePath(u"state/Ponderix/Recovery.pnx"_s); }

    // Starts the program on the project, changes it, waits for the copy and kills it.
    void editAndKill()
    {
        QProcess program;
        program.setProcessEnvironment(environment());
        program.start(QString::fromUtf8(RECOVERY_TEST_PROGRAM), {u"edit"_s, m_project});
        ASSERT_TRUE(program.waitForStarted(30000));
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(recoveryProject()), 60000);
        program.kill(); // SIGKILL: no handler, no shut-down
        ASSERT_TRUE(program.waitForFinished(30000));
        EXPECT_EQ(program.exitStatus(), QProcess::CrashExit);
        EXPECT_TRUE(QString::fromUtf8(program.readAllStandardOutput()).contains(u"edited"_s));
        EXPECT_TRUE(QFile::exists(recoveryProject()));
    }

    QStringList restart(const QString& answer)
    {
        QProcess program;
        program.setProcessEnvironment(environment());
        program.start(QString::fromUtf8(RECOVERY_TEST_PROGRAM), {u"start"_s, answer});
        EXPECT_TRUE(program.waitForFinished(60000));
        EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
        EXPECT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
        return QString::fromUtf8(program.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts);
    }

    QTemporaryDir m_sandbox;
    QString m_project;
};

TEST_F(RecoveryProcessTest, AfterKillNineYesRestoresTheWorkAndItsPath)
{
    const Project original = readProjectFile(m_project).project();
    ASSERT_NE(original.ratingOf(1, 1)->Value, 9);
    editAndKill();
    const QStringList shown = restart(u"yes"_s);
    ASSERT_EQ(shown.size(), 5) << shown.join(u'\n').toStdString();
    EXPECT_TRUE(shown[0].startsWith(u"asked: Ponderix was not closed properly. Restore the unsaved changes to "
                                    u"\"Cars\" from \""_s));
    EXPECT_EQ(shown[1], u"path: "_s + m_project);
    EXPECT_EQ(shown[2], u"banner: Cars"_s);
    EXPECT_EQ(shown[3], u"options: Renamed,"_s + original.options()[1].Name + u',' + original.options()[2].Name);
    EXPECT_EQ(shown[4], u"B:2: 9"_s);
    // Ended through the quit question: nothing left to recover.
    EXPECT_FALSE(QFile::exists(recoveryProject()));
}

TEST_F(RecoveryProcessTest, AfterKillNineNoDeletesTheCopyAndStartsAsUsual)
{
    editAndKill();
    const QStringList shown = restart(u"no"_s);
    ASSERT_EQ(shown.size(), 5) << shown.join(u'\n').toStdString();
    EXPECT_TRUE(shown[0].startsWith(u"asked: "_s));
    // The project the user was working on when it crashed, as it was saved:
    // it was recorded when it was opened, not at a normal end.
    const Project saved = readProjectFile(m_project).project();
    EXPECT_EQ(shown[1], u"path: "_s + m_project);
    EXPECT_EQ(shown[3], u"options: "_s + saved.options()[0].Name + u',' + saved.options()[1].Name + u','
                            + saved.options()[2].Name);
    EXPECT_FALSE(QFile::exists(recoveryProject()));
}
