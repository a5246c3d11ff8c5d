#include "app/Application.h"

#include "app/MainWindow.h"
#include "app/ProjectFiles.h"
#include "app/Recovery.h"
#include "base/BuiltInImages.h"
#include "base/Language.h"
#include "base/SystemReason.h"
#include "base/TextTable.h"
#include "document/CellTexts.h"
#include "document/EditingCommands.h"
#include "editor/MatrixView.h"
#include "editor/MatrixWiring.h"
#include "evaluation/ChartLibrary.h"
#include "evaluation/ResultPages.h"
#include "evaluation/Team.h"
#include "platform/CrashHandler.h"
#include "platform/KeyStore.h"
#include "platform/SingleInstance.h"
#include "platform/gui/QtDialogs.h"
#include "project/ProjectMessages.h"
#include "windows/DecisionRecordCommand.h"
#include "windows/ReportWindow.h"
#include "windows/ResultWindows.h"
#include "windows/TextExportCommand.h"

#include <QApplication>
#include <QFileInfo>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QScreen>
#include <QStandardPaths>

#include <algorithm>
#include <cerrno>
#include <cstdio>

#include <sys/stat.h>

namespace ponderix {

using namespace Qt::StringLiterals;

Application::Application(Environment environment) : m_environment(std::move(environment)) { }

Application::~Application()
{
    // The view goes before the window whose client area holds its controls.
    m_recovery.reset();
    m_editing.reset();
    m_files.reset();
    m_view.reset();
    m_window.reset();
    m_charts.reset();
}

Application::Start Application::start()
{
    // Text table, fonts and pictures first: everything after may show them.
    BuiltInImages::instance();

    m_folders = m_environment.folders ? *m_environment.folders : resolveFolders();
    const QString programName = uiText(TextKey::Program_Name);
    m_instance = std::make_unique<SingleInstance>(SingleInstance::lockFolder(m_folders.applicationData), programName);
    if (!m_environment.dialogs) {
        m_ownDialogs = std::make_unique<QtDialogs>(nullptr);
        m_dialogs = m_ownDialogs.get();
    } else {
        m_dialogs = m_environment.dialogs;
    }
    if (!m_instance->isFirst()) {
        m_dialogs->message(programName, uiText(TextKey::TXT00041), Dialogs::Icon::Information);
        return Start::SecondInstance;
    }
    // No box for it: the user can work as usual, and only a second copy
    // started meanwhile would go unnoticed.
    if (!m_instance->problem().isEmpty()) {
        const QString line =
            programName + u": "_s + uiText(TextKey::TXT00520) + punctuation(u':') + u" "_s + m_instance->problem();
        std::fputs((line + u'\n').toLocal8Bit().constData(), stderr);
    }
    // Only the real program reports crashes: a test that brings its own
    // dialogs runs inside a test runner, which keeps its own fault handling.
    if (!m_environment.dialogs)
        installCrashHandler(programName.toStdString(), uiText(TextKey::Version_Name).toStdString());

    prepareFolders();
    m_desktopHeight = QGuiApplication::primaryScreen() ? QGuiApplication::primaryScreen()->geometry().height() : 0;
    loadCharts();
    readSettings();
    createMainWindow();
    // Shown before the first project is opened, so that a message about that
    // file appears over the program it belongs to.
    m_window->show();
    if (!offerRecovery())
        openFirstProject();
    m_window->setAcceptDrops(true);
    return Start::Running;
}

void Application::prepareFolders()
{
    // Failures are not fatal: without them the program runs and only forgets.
    if (!m_folders.applicationData.isEmpty())
        makePrivateFolder(m_folders.applicationData, ForeignContents::Keep);
    // Without its folder the program keeps no recovery copy, and says so
    // when there is first unsaved work to keep.
    if (!m_folders.state.isEmpty()) {
        const PrivateFolder state = makePrivateFolder(m_folders.state, ForeignContents::Keep);
        if (!state) {
            m_stateProblem = state.problem;
            m_folders.state.clear();
        }
        m_stateOthersCouldWrite = state.othersCouldWrite;
    }
    if (m_folders.temporary.isEmpty())
        return;
    const PrivateFolder temporary = makePrivateFolder(m_folders.temporary, ForeignContents::Discard);
    if (!temporary) {
        m_temporaryProblem = uiText(TextKey::TXT00521) + punctuation(u':') + u" "_s + temporary.problem;
        m_folders.temporary.clear();
    }
}

void Application::loadCharts()
{
    // Without its folder the component cannot be loaded either, and the user
    // hears why the pages lack their charts, as for any other failed load.
    if (m_folders.temporary.isEmpty()) {
        const QString reason = m_temporaryProblem.isEmpty() ? uiText(TextKey::TXT00521) : m_temporaryProblem;
        const Message warning = chartLoadWarning(reason);
        m_dialogs->message(warning.title, warning.text, Dialogs::Icon::Warning);
        return;
    }
    ChartLibrary::LoadResult loaded = ChartLibrary::load(m_folders.temporary);
    m_charts = std::move(loaded.library);
    std::optional<Message> warning;
    if (!loaded.error.isEmpty())
        warning = chartLoadWarning(loaded.error);
    else if (m_charts)
        warning = chartVersionWarning(m_charts->versionText());
    // Without the component the program still works; the pages lack their charts.
    if (warning)
        m_dialogs->message(warning->title, warning->text, Dialogs::Icon::Warning);
    writeDetailBackground(m_folders.temporary);
}

void Application::readSettings()
{
    m_settings = readSettingsFile(m_folders.settingsFile(), m_folders.documents);
    m_document.setLastFolder(m_settings.LastDirectory);
}

void Application::createMainWindow()
{
    std::optional<QRect> stored = storedWindowGeometry(m_settings);
    m_window = std::make_unique<MainWindow>(BuiltInImages::instance(),
                                            stored ? stored->size() : defaultWindowSize(m_desktopHeight));
    if (m_ownDialogs)
        static_cast<QtDialogs*>(m_ownDialogs.get())->setOwner(m_window.get());
    // A settings file written on a larger screen, or by hand, must not make
    // a window larger than the screen or put it where nobody can reach it.
    if (stored) {
        const QScreen* screen = QGuiApplication::screenAt(stored->topLeft());
        if (!screen)
            screen = QGuiApplication::primaryScreen();
        if (screen) {
            stored = fittedToScreen(*stored, screen->availableGeometry(), m_window->minimumClientSize(),
                                    m_window->menuBar()->sizeHint().height());
            m_window->resizeClient(stored->size());
        }
        m_window->move(stored->topLeft());
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = m_window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        m_window->move(frame.topLeft());
    }

    m_view = std::make_unique<MatrixView>(m_window->client(), project(), m_settings.CriteriaAddWidth,
                                          legendText(m_settings.CriteriaAddWidth));
    m_files = std::make_unique<ProjectFiles>(m_document, *m_dialogs, m_folders.temporary);
    m_editing = std::make_unique<EditingCommands>(m_document, *m_dialogs);
    m_recovery = std::make_unique<RecoveryKeeper>(
        RecoveryFile(m_folders.state, m_stateProblem, m_stateOthersCouldWrite), project(),
        [this] { return m_document.banner(); },
        [this](const QString& reason) {
            m_dialogs->message(uiText(TextKey::TXT00001), uiText(TextKey::TXT00623) + u"\r\n"_s + reason,
                               Dialogs::Icon::Warning);
        });
    m_window->setClientResizeHandler([this](QSize size) { m_view->relayout(size); });
    m_window->setCloseBoxHandler([this] { quitIfConfirmed(); });
    m_window->setDropHandler([this](const QStringList& names) { handleDrop(names); });
    registerCommands();
    wireMatrixView(m_document, *m_view, *m_editing);
    QObject::connect(m_view.get(), &MatrixView::criteriaAddWidthChosen, m_view.get(),
                     [this](int width) { chooseCriteriaAddWidth(width); });
    connectHistory();
    followDocument();
}

void Application::registerCommands()
{
    MainWindow& window = *m_window;
    window.setHandler(Command::New, [this] { m_editing->newProject(QString()); });
    window.setHandler(Command::Open, [this] {
        m_files->open(QString(), ProjectFiles::Question::Ask, ProjectFiles::LastFolder::Update);
    });
    window.setHandler(Command::Save, [this] { saveProject(project().path()); });
    window.setHandler(Command::SaveAs, [this] { saveProject(QString()); });
    window.setHandler(Command::Demo, [this] { m_files->openDemo(); });
    window.setHandler(Command::TextExport, [this] { exportText(windowContext()); });
    window.setHandler(Command::DecisionRecord, [this] { exportDecisionRecord(windowContext()); });
    window.setHandler(Command::Results, [this] { openResultsWindow(windowContext()); });
    window.setHandler(Command::Profile, [this] { openProfileWindow(windowContext()); });
    window.setHandler(Command::Robustness, [this] { showRobustness(); });
    window.setHandler(Command::Report, [this] { openReportWindow(windowContext()); });
    window.setHandler(Command::SaveBlankCopy, [this] { m_files->saveBlankCopy(); });
    window.setHandler(Command::CombineTeam, [this] { combineTeam(); });
    window.setHandler(Command::Quit, [this] { quitIfConfirmed(); });
    window.setHandler(Command::Undo, [this] { m_document.history().undo(); });
    window.setHandler(Command::Redo, [this] { m_document.history().redo(); });
    for (Command command : {Command::Cut, Command::Copy, Command::Paste, Command::Clear, Command::SelectAll})
        window.setHandler(command, [this, command] { runEditCommand(static_cast<int>(command)); });
    window.setHandler(Command::Help,
                      [this] { m_dialogs->openExternal(QUrl::fromLocalFile(helpDocumentPath(m_folders))); });
    window.setHandler(Command::WebPage, [this] { m_dialogs->openExternal(QUrl(uiText(TextKey::Online_Adresse))); });
    window.setHandler(Command::MoreTools, [this] { m_dialogs->openExternal(QUrl(uiText(TextKey::Online_MoreTools))); });
    window.setHandler(Command::Signature, [this] { showSignature(); });
    window.setHandler(Command::About, [this] { showAbout(); });
}

void Application::connectHistory()
{
    EditHistory& history = m_document.history();
    const auto showSteps = [this, &history] {
        // "Undo delete Option B": the menu says which step it takes back.
        const auto caption = [](TextKey word, const QString& step) {
            return step.isEmpty() ? uiText(word) : uiText(word) + u' ' + step;
        };
        m_window->setAvailable(Command::Undo, history.canUndo());
        m_window->setAvailable(Command::Redo, history.canRedo());
        m_window->setCaption(Command::Undo, caption(TextKey::MEN00040, history.undoText()));
        m_window->setCaption(Command::Redo, caption(TextKey::MEN00041, history.redoText()));
    };
    QObject::connect(&history, &EditHistory::stateChanged, m_window.get(), showSteps);
    showSteps();
}

void Application::followDocument()
{
    // The document knows whether it holds work no file has: that work is
    // kept, and a saved or freshly opened project needs no copy.
    QObject::connect(&m_document, &Document::changed, m_recovery.get(), [this] {
        if (m_document.hasUnsavedWork())
            m_recovery->changed();
        else
            m_recovery->discard();
    });
    // Recorded as soon as the file changes, not only at a normal end: after
    // a crash the project opened is the one the user was working on.
    QObject::connect(&m_document, &Document::fileChanged, m_window.get(), [this] { rememberLastProject(); });
}

bool Application::saveProject(const QString& path)
{
    return m_files->save(path);
}

void Application::rememberLastProject()
{
    if (m_settings.LastProject == project().path() && m_settings.LastDirectory == project().lastFolder())
        return;
    m_settings.LastProject = project().path();
    m_settings.LastDirectory = project().lastFolder();
    writeSettings();
}

void Application::writeSettings()
{
    if (!m_folders.applicationData.isEmpty())
        writeSettingsFile(m_folders.settingsFile(), m_settings);
}

QString Application::fileGivenAtStart() const
{
    // A terminal passes the path as it was typed, relative to the folder the
    // user is in; file managers pass an absolute one.
    const QString given = m_environment.arguments.value(0);
    return given.isEmpty() ? given : QFileInfo(given).absoluteFilePath();
}

bool Application::offerRecovery()
{
    const RecoveryFile& file = m_recovery->file();
    if (!file.exists())
        return false;
    const QString programName = uiText(TextKey::Program_Name);
    RecoveryFile::ReadOutcome outcome = file.read();
    if (!outcome.found) {
        // Kept under another name, so that it is reported this once and the
        // work in it is still there for someone who can mend the file.
        const QString keptAs = file.keepAside(QDateTime::currentDateTime());
        m_dialogs->message(programName,
                           uiText(TextKey::TXT00622) + u"\r\n"_s + (keptAs.isEmpty() ? file.projectPath() : keptAs)
                               + u"\r\n\r\n"_s + outcome.error,
                           Dialogs::Icon::Warning);
        return false;
    }
    RecoveryFile::Found& found = *outcome.found;
    const QString question =
        uiText(TextKey::TXT00620) + u' ' + quoted(found.banner) + u' ' + uiText(TextKey::TXT00621) + u' '
        + quoted(QLocale().toString(found.written, QLocale::ShortFormat)) + punctuation(u'?') + u"\r\n\r\n"_s
        + (found.path.isEmpty() ? uiText(TextKey::TXT00843) : uiText(TextKey::TXT00842) + u' ' + found.path);
    if (m_dialogs->message(programName, question, Dialogs::Icon::Question, Dialogs::Buttons::YesNo)
        != Dialogs::Answer::Yes) {
        file.remove();
        return false;
    }
    const QString restoredPath = found.path;
    // Restored work is still unsaved work: its copy stays until it is saved.
    m_files->restore(std::move(found.project), found.path, found.banner);
    // The file the user asked for is not opened over the restored work, and
    // the user must not think it was.
    const QString given = fileGivenAtStart();
    if (isOpenableAtStartup(given) && QFileInfo(given) != QFileInfo(restoredPath))
        m_dialogs->message(programName, uiText(TextKey::TXT00844).arg(quoted(given)), Dialogs::Icon::Information);
    return true;
}

void Application::openFirstProject()
{
    const QString commandLine = fileGivenAtStart();
    if (!commandLine.isEmpty())
        reportUnreachableStartFile(commandLine);
    const QString candidate = isOpenableAtStartup(commandLine)              ? commandLine
                              : isOpenableAtStartup(m_settings.LastProject) ? m_settings.LastProject
                                                                            : QString();
    if (!candidate.isEmpty()
        && m_files->open(candidate, ProjectFiles::Question::DoNotAsk, ProjectFiles::LastFolder::Update))
        return;
    m_editing->newProject(u"Start"_s);
}

void Application::reportUnreachableStartFile(const QString& path)
{
    // The user named this file: opening the last project without a word
    // would have them edit another file than the one they meant.
    struct stat facts { };
    if (::stat(QFile::encodeName(path).constData(), &facts) == 0)
        return;
    m_dialogs->message(uiText(TextKey::TXT00001),
                       uiText(TextKey::TXT00094) + u"\r\n\r\n"_s + path + u"\r\n\r\n"_s + systemReason(errno),
                       Dialogs::Icon::None);
}

void Application::handleDrop(const QStringList& names)
{
    if (names.size() == 1 && names.first().right(4).toLower() == u".pnx"_s) {
        m_files->open(names.first(), ProjectFiles::Question::Ask, ProjectFiles::LastFolder::Update);
        return;
    }
    m_dialogs->message(uiText(TextKey::TXT00013), uiText(TextKey::TXT00102), Dialogs::Icon::Information);
}

void Application::chooseCriteriaAddWidth(int width)
{
    m_settings.CriteriaAddWidth = width;
    m_view->drawWidthStrip(width);
    m_dialogs->message(uiText(TextKey::TXT00013), uiText(TextKey::TXT00225), Dialogs::Icon::Information);
}

void Application::runEditCommand(int command)
{
    // The edit commands act on the text field that has the keyboard focus.
    auto* field = qobject_cast<QLineEdit*>(QApplication::focusWidget());
    if (!field)
        return;
    switch (static_cast<Command>(command)) {
    case Command::Cut:
        field->cut();
        break;
    case Command::Copy:
        field->copy();
        break;
    case Command::Paste:
        field->paste();
        break;
    case Command::Clear:
        // Clears the selection only, like the field's own Delete menu entry;
        // with nothing selected it must not eat the character after the cursor.
        if (field->hasSelectedText())
            field->del();
        break;
    case Command::SelectAll:
        field->selectAll();
        break;
    default:
        break;
    }
}

void Application::showSignature()
{
    const QString text = uiText(TextKey::TXT00073) + u' ' + uiText(TextKey::TXT00074) + u' ' + uiText(TextKey::TXT00075)
                         + u"\r\n\r\n"_s + uiText(TextKey::TXT00076);
    m_dialogs->message(uiText(TextKey::TXT00072), text, Dialogs::Icon::Information);
    m_dialogs->fileProperties(uiText(TextKey::Digital_Sinatures), m_folders.programPath);
}

void Application::showAbout()
{
    const QString title = m_window->windowTitle();
    m_dialogs->message(title,
                       title + u"\r\n\r\n"_s + uiText(TextKey::Version_Name) + u"\r\n\r\n"_s
                           + uiText(TextKey::Copyright_Text) + u"\r\n\r\n"_s,
                       Dialogs::Icon::None);
}

void Application::showRobustness()
{
    // One window follows the document; asking again brings it forward.
    if (m_robustness) {
        m_robustness->raise();
        m_robustness->activateWindow();
        return;
    }
    m_robustness = openRobustnessWindow(windowContext());
}

void Application::combineTeam()
{
    const std::optional<TeamResult> team = m_files->combineTeam();
    if (!team)
        return;
    openTeamWindow(windowContext(), *team, [this](const Project& combined) {
        m_files->openUnsaved(Project(combined), uiText(TextKey::TXT00802));
    });
}

WindowContext Application::windowContext()
{
    return {m_document, m_settings, *m_dialogs, m_folders, m_charts.get(), m_window.get(), m_desktopHeight};
}

void Application::quitIfConfirmed()
{
    // exit(), not quit(): quit() would first try to close every window, and
    // the main window answers a close with this very question.
    if (confirmQuit())
        QCoreApplication::exit(0);
}

bool Application::confirmQuit()
{
    const auto answer = m_dialogs->message(uiText(TextKey::TXT00100), uiText(TextKey::TXT00101),
                                           Dialogs::Icon::Question, Dialogs::Buttons::YesNoCancel);
    switch (answer) {
    case Dialogs::Answer::Yes:
        return saveProject(project().path());
    case Dialogs::Answer::No:
        return true;
    default:
        return false;
    }
}

void Application::shutDown()
{
    if (!m_window)
        return;
    // The program ends as it should: nothing is left to recover.
    m_recovery->discard();
    const QPoint position = m_window->pos();
    const QSize client = m_window->client()->size();
    m_settings.WindowPosLeft = position.x();
    m_settings.WindowPosTop = position.y();
    m_settings.WindowPosWidth = client.width();
    m_settings.WindowPosHeight = client.height();
    m_settings.LastDirectory = project().lastFolder();
    m_settings.LastProject = project().path();
    writeSettings();
    writeInstallFolder(uiText(TextKey::Registry_Subkey), m_folders.programFolder);
    m_window->closeWithoutQuestion();
    m_charts.reset(); // unloads the component and removes its file
    removeFolder(m_folders.temporary);
}

QSize defaultWindowSize(int desktopHeight)
{
    return {760, desktopHeight <= 600 ? 540 : 630};
}

QRect fittedToScreen(const QRect& stored, const QRect& available, QSize minimumClient, int menuHeight)
{
    const QSize room(available.width(), available.height() - menuHeight);
    // The window never shrinks below its minimum, so that is the size to fit.
    const QSize size = stored.size().boundedTo(room).expandedTo(minimumClient);
    const int right = std::max(available.left(), available.right() - size.width() + 1);
    const int bottom = std::max(available.top(), available.bottom() - size.height() - menuHeight + 1);
    return {QPoint(std::clamp(stored.left(), available.left(), right),
                   std::clamp(stored.top(), available.top(), bottom)),
            size};
}

std::optional<QRect> storedWindowGeometry(const Settings& settings)
{
    if (settings.WindowPosLeft > -1 && settings.WindowPosTop > -1 && settings.WindowPosWidth > 0
        && settings.WindowPosHeight > 0)
        return QRect(settings.WindowPosLeft, settings.WindowPosTop, settings.WindowPosWidth, settings.WindowPosHeight);
    return std::nullopt;
}

} // namespace ponderix
