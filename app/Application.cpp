#include "app/Application.h"

#include "app/MainWindow.h"
#include "app/ProjectFiles.h"
#include "base/BuiltInImages.h"
#include "base/TextTable.h"
#include "editor/CellTexts.h"
#include "editor/EditingCommands.h"
#include "editor/MatrixView.h"
#include "evaluation/ChartLibrary.h"
#include "evaluation/ResultPages.h"
#include "platform/CrashHandler.h"
#include "platform/KeyStore.h"
#include "platform/QtDialogs.h"
#include "platform/SingleInstance.h"
#include "windows/ReportWindow.h"
#include "windows/ResultWindows.h"
#include "windows/TextExportCommand.h"

#include <QApplication>
#include <QLineEdit>
#include <QScreen>
#include <QStandardPaths>

#include <cstdio>

namespace ponderix {

using namespace Qt::StringLiterals;

Application::Application(Environment environment)
    : m_environment(std::move(environment))
{
}

Application::~Application()
{
    // The view goes before the window whose client area holds its controls.
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
        const QString line = programName + u": "_s + uiText(TextKey::TXT00520) + u": "_s + m_instance->problem();
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
    openFirstProject();
    m_window->setAcceptDrops(true);
    return Start::Running;
}

void Application::prepareFolders()
{
    // Failures are not fatal: without them the program runs and only forgets.
    if (!m_folders.applicationData.isEmpty())
        makePrivateFolder(m_folders.applicationData, ForeignContents::Keep);
    if (m_folders.temporary.isEmpty())
        return;
    const PrivateFolder temporary = makePrivateFolder(m_folders.temporary, ForeignContents::Discard);
    if (!temporary) {
        m_temporaryProblem = uiText(TextKey::TXT00521) + u": "_s + temporary.problem;
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
    m_project.setLastFolder(m_settings.LastDirectory);
}

void Application::createMainWindow()
{
    const std::optional<QRect> stored = storedWindowGeometry(m_settings);
    const QSize clientSize = stored ? stored->size() : defaultWindowSize(m_desktopHeight);
    m_window = std::make_unique<MainWindow>(BuiltInImages::instance(), clientSize);
    if (m_ownDialogs)
        static_cast<QtDialogs*>(m_ownDialogs.get())->setOwner(m_window.get());
    if (stored) {
        m_window->move(stored->topLeft());
    } else if (QScreen* screen = QGuiApplication::primaryScreen()) {
        QRect frame = m_window->frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        m_window->move(frame.topLeft());
    }

    m_view = std::make_unique<MatrixView>(m_window->client(), m_project, m_settings.CriteriaAddWidth,
                                          legendText(m_settings.CriteriaAddWidth));
    m_files = std::make_unique<ProjectFiles>(m_project, *m_view, *m_dialogs, m_folders.temporary);
    m_editing = std::make_unique<EditingCommands>(m_project, *m_view, *m_dialogs);
    m_window->setClientResizeHandler([this](QSize size) { m_view->relayout(size); });
    m_window->setCloseBoxHandler([this] { quitIfConfirmed(); });
    m_window->setDropHandler([this](const QStringList& names) { handleDrop(names); });
    registerCommands();
    connectView();
}

void Application::registerCommands()
{
    MainWindow& window = *m_window;
    window.setHandler(Command::New, [this] { m_editing->newProject(QString()); });
    window.setHandler(Command::Open, [this] {
        m_files->open(QString(), ProjectFiles::Question::Ask, ProjectFiles::LastFolder::Update);
    });
    window.setHandler(Command::Save, [this] { m_files->save(m_project.path()); });
    window.setHandler(Command::SaveAs, [this] { m_files->save(QString()); });
    window.setHandler(Command::Demo, [this] { m_files->openDemo(); });
    window.setHandler(Command::TextExport, [this] { exportText(windowContext()); });
    window.setHandler(Command::Results, [this] { openResultsWindow(windowContext()); });
    window.setHandler(Command::Profile, [this] { openProfileWindow(windowContext()); });
    window.setHandler(Command::Report, [this] { openReportWindow(windowContext()); });
    window.setHandler(Command::Quit, [this] { quitIfConfirmed(); });
    for (Command command : {Command::Cut, Command::Copy, Command::Paste, Command::Clear, Command::SelectAll})
        window.setHandler(command, [this, command] { runEditCommand(static_cast<int>(command)); });
    window.setHandler(Command::Help, [this] {
        m_dialogs->openExternal(QUrl::fromLocalFile(helpDocumentPath(m_folders)));
    });
    window.setHandler(Command::WebPage, [this] { m_dialogs->openExternal(QUrl(uiText(TextKey::Online_Adresse))); });
    window.setHandler(Command::MoreTools, [this] { m_dialogs->openExternal(QUrl(uiText(TextKey::Online_MoreTools))); });
    window.setHandler(Command::Signature, [this] { showSignature(); });
    window.setHandler(Command::About, [this] { showAbout(); });
}

void Application::connectView()
{
    MatrixView* view = m_view.get();
    EditingCommands* editing = m_editing.get();
    QObject::connect(view, &MatrixView::addOptionRequested, view, [editing] { editing->addOption(); });
    QObject::connect(view, &MatrixView::addCriterionRequested, view, [editing] { editing->addCriterion(); });
    QObject::connect(view, &MatrixView::deleteOptionRequested, view,
                     [editing](int index) { editing->deleteOption(index); });
    QObject::connect(view, &MatrixView::deleteCriterionRequested, view,
                     [editing](int index) { editing->deleteCriterion(index); });
    QObject::connect(view, &MatrixView::moveOptionRequested, view,
                     [editing](int index, MoveDirection direction) { editing->moveOption(index, direction); });
    QObject::connect(view, &MatrixView::moveCriterionRequested, view,
                     [editing](int index, MoveDirection direction) { editing->moveCriterion(index, direction); });
    QObject::connect(view, &MatrixView::commentRequested, view,
                     [editing](int option, int criterion) { editing->editComment(option, criterion); });
    QObject::connect(view, &MatrixView::criteriaAddWidthChosen, view,
                     [this](int width) { chooseCriteriaAddWidth(width); });
}

void Application::openFirstProject()
{
    const QString commandLine = m_environment.arguments.value(0);
    const QString candidate = isOpenableAtStartup(commandLine)      ? commandLine
        : isOpenableAtStartup(m_settings.LastProject) ? m_settings.LastProject
                                                      : QString();
    if (!candidate.isEmpty()
        && m_files->open(candidate, ProjectFiles::Question::DoNotAsk, ProjectFiles::LastFolder::Update))
        return;
    m_editing->newProject(u"Start"_s);
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
    case Command::Cut: field->cut(); break;
    case Command::Copy: field->copy(); break;
    case Command::Paste: field->paste(); break;
    case Command::Clear:
        // Clears the selection only, like the field's own Delete menu entry;
        // with nothing selected it must not eat the character after the cursor.
        if (field->hasSelectedText())
            field->del();
        break;
    case Command::SelectAll: field->selectAll(); break;
    default: break;
    }
}

void Application::showSignature()
{
    const QString text = uiText(TextKey::TXT00073) + u' ' + uiText(TextKey::TXT00074) + u' '
        + uiText(TextKey::TXT00075) + u"\r\n\r\n"_s + uiText(TextKey::TXT00076);
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

WindowContext Application::windowContext()
{
    return {m_project,      m_settings, *m_dialogs,        m_folders,
            m_charts.get(), m_window.get(), m_view->banner(), m_desktopHeight};
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
    case Dialogs::Answer::Yes: return m_files->save(m_project.path());
    case Dialogs::Answer::No: return true;
    default: return false;
    }
}

void Application::shutDown()
{
    if (!m_window)
        return;
    const QPoint position = m_window->pos();
    const QSize client = m_window->client()->size();
    m_settings.WindowPosLeft = position.x();
    m_settings.WindowPosTop = position.y();
    m_settings.WindowPosWidth = client.width();
    m_settings.WindowPosHeight = client.height();
    m_settings.LastDirectory = m_project.lastFolder();
    m_settings.LastProject = m_project.path();
    if (!m_folders.applicationData.isEmpty())
        writeSettingsFile(m_folders.settingsFile(), m_settings);
    writeInstallFolder(uiText(TextKey::Registry_Subkey), m_folders.programFolder);
    m_window->closeWithoutQuestion();
    m_charts.reset(); // unloads the component and removes its file
    removeFolder(m_folders.temporary);
}

QSize defaultWindowSize(int desktopHeight)
{
    return {760, desktopHeight <= 600 ? 540 : 630};
}

std::optional<QRect> storedWindowGeometry(const Settings& settings)
{
    if (settings.WindowPosLeft > -1 && settings.WindowPosTop > -1 && settings.WindowPosWidth > 0
        && settings.WindowPosHeight > 0)
        return QRect(settings.WindowPosLeft, settings.WindowPosTop, settings.WindowPosWidth, settings.WindowPosHeight);
    return std::nullopt;
}

} // namespace ponderix
