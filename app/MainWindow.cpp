#include "app/MainWindow.h"

#include "base/BuiltInImages.h"
#include "base/TextTable.h"
#include "editor/ScaledPicture.h"

#include <QAction>
#include <QCloseEvent>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMenuBar>
#include <QMimeData>
#include <QPixmap>
#include <QToolBar>
#include <QToolButton>

#include <algorithm>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

// In a narrow window Qt gathers the items of a bar that do not fit behind a
// button of its own, which a screen reader would announce as a nameless
// button.
void nameOverflowButton(QWidget& bar, const QString& objectName, TextKey name)
{
    if (auto* more = bar.findChild<QToolButton*>(objectName)) {
        more->setAccessibleName(uiText(name));
        more->setToolTip(uiText(name));
    }
}

constexpr QSize kMinimumSize(630, 440);
constexpr int kToolbarIconSize = 48;
constexpr int kToolbarIndent = 5;
constexpr int kToolbarButtonMinimumWidth = 58;
constexpr int kLogoRightOffset = 75;
constexpr int kLogoTop = 4;

// The densities a toolbar icon and the window icon come drawn for; Qt takes
// the one nearest the screen's, scaling only for a screen between two.
constexpr qreal kIconRatios[] = {1.0, 1.25, 1.5, 1.75, 2.0, 2.5, 3.0, 4.0};

QIcon iconAtEveryDensity(BuiltInImages::Picture which)
{
    QIcon icon;
    for (const qreal ratio : kIconRatios)
        icon.addPixmap(QPixmap::fromImage(BuiltInImages::draw(which, ratio)));
    return icon;
}

} // namespace

Command MainWindow::menuTwin(Command command)
{
    switch (command) {
    case Command::ToolbarNew:
        return Command::New;
    case Command::ToolbarOpen:
        return Command::Open;
    case Command::ToolbarSave:
        return Command::Save;
    case Command::ToolbarResults:
        return Command::Results;
    case Command::ToolbarProfile:
        return Command::Profile;
    case Command::ToolbarReport:
        return Command::Report;
    default:
        return command;
    }
}

MainWindow::MainWindow(const BuiltInImages& images, QSize clientSize)
{
    setWindowTitle(uiText(TextKey::Program_Name));
    setWindowIcon(iconAtEveryDensity(BuiltInImages::Picture::Logo));
    setMinimumSize(kMinimumSize);

    m_client = new QWidget(this);
    m_client->setObjectName(u"client"_s);
    setCentralWidget(m_client);
    m_client->installEventFilter(this);

    buildMenus();
    buildToolbar();

    // The matrix view keeps the margins it finds at creation; a client area
    // smaller than the window can be (a hand-edited settings file) would run
    // the grid under the status line for the whole session.
    const QSize size = clientSize.expandedTo(minimumClientSize());
    m_logo = new PictureView(m_client, BuiltInImages::Picture::Logo);
    m_logo->setAccessibleName(uiText(TextKey::Program_Name));
    m_logo->setGeometry(size.width() - kLogoRightOffset, kLogoTop, images.logo.width(), images.logo.height());

    resizeClient(size);
    updateEnabledCommands();
}

QAction* MainWindow::addCommand(QMenu* menu, Command command, const QString& caption, const QString& shortcutText)
{
    // Named as the desktop names keys in the user's language ("Strg+X",
    // "Entf"), as Qt names the shortcuts it shows itself; English keeps
    // "Ctrl+X" and "Del".
    const QString keys = QKeySequence(shortcutText).toString(QKeySequence::NativeText);
    QAction* action = menu->addAction(shortcutText.isEmpty() ? caption : caption + u'\t' + keys);
    connect(action, &QAction::triggered, this, [this, command] { trigger(command); });
    m_actions[command] = action;
    return action;
}

void MainWindow::buildMenus()
{
    const auto text = uiText;

    QMenu* file = menuBar()->addMenu(text(TextKey::MEN00001));
    addCommand(file, Command::New, text(TextKey::MEN00004))->setShortcut(QKeySequence(u"Ctrl+N"_s));
    addCommand(file, Command::Open, text(TextKey::MEN00005))->setShortcut(QKeySequence(u"Ctrl+O"_s));
    addCommand(file, Command::Save, text(TextKey::MEN00006))->setShortcut(QKeySequence(u"Ctrl+S"_s));
    addCommand(file, Command::SaveAs, text(TextKey::MEN00007));
    file->addSeparator();
    addCommand(file, Command::Demo, text(TextKey::MEN00012));
    addCommand(file, Command::TextExport, text(TextKey::MEN00009));
    addCommand(file, Command::DecisionRecord, text(TextKey::TXT00900))->setShortcut(QKeySequence(u"Ctrl+R"_s));
    file->addSeparator();
    addCommand(file, Command::SaveBlankCopy, text(TextKey::TXT00801));
    addCommand(file, Command::CombineTeam, text(TextKey::TXT00800));
    file->addSeparator();
    addCommand(file, Command::Quit, text(TextKey::MEN00011));

    // Cut, copy, paste and delete only name their keys: the focused text
    // field handles those keys itself.
    QMenu* edit = menuBar()->addMenu(text(TextKey::MEN00002));
    addCommand(edit, Command::Undo, text(TextKey::MEN00040))->setShortcut(QKeySequence(u"Ctrl+Z"_s));
    addCommand(edit, Command::Redo, text(TextKey::MEN00041))
        ->setShortcuts({QKeySequence(u"Ctrl+Y"_s), QKeySequence(u"Ctrl+Shift+Z"_s)});
    edit->addSeparator();
    addCommand(edit, Command::Cut, text(TextKey::MEN00103), u"Ctrl+X"_s);
    addCommand(edit, Command::Copy, text(TextKey::MEN00104), u"Ctrl+C"_s);
    addCommand(edit, Command::Paste, text(TextKey::MEN00105), u"Ctrl+V"_s);
    addCommand(edit, Command::Clear, text(TextKey::MEN00106), u"Del"_s);
    addCommand(edit, Command::SelectAll, text(TextKey::MEN00107))->setShortcut(QKeySequence(u"Ctrl+A"_s));

    QMenu* analysis = menuBar()->addMenu(text(TextKey::MEN00003));
    addCommand(analysis, Command::Results, text(TextKey::MEN00020))->setShortcut(QKeySequence(Qt::Key_F1));
    addCommand(analysis, Command::Profile, text(TextKey::MEN00021))->setShortcut(QKeySequence(Qt::Key_F2));
    // Listed beside the other score windows, but on F4: Report keeps the F3
    // its users already know.
    addCommand(analysis, Command::Robustness, text(TextKey::MEN00024))->setShortcut(QKeySequence(Qt::Key_F4));
    addCommand(analysis, Command::Report, text(TextKey::MEN00022))->setShortcut(QKeySequence(Qt::Key_F3));

    QMenu* help = menuBar()->addMenu(u"?"_s);
    addCommand(help, Command::Help, text(TextKey::MEN00030));
    addCommand(help, Command::WebPage, text(TextKey::MEN00031));
    addCommand(help, Command::Signature, text(TextKey::MEN00034));
    addCommand(help, Command::MoreTools, text(TextKey::MEN00035));
    help->addSeparator();
    addCommand(help, Command::About, text(TextKey::MEN00033));

    nameOverflowButton(*menuBar(), u"qt_menubar_ext_button"_s, TextKey::TXT00569);
    // Shortcuts reach the window even when the menu bar is not in focus.
    for (const auto& [command, action] : m_actions)
        action->setShortcutContext(Qt::WindowShortcut);
}

void MainWindow::buildToolbar()
{
    m_toolbar = new QToolBar(m_client);
    m_toolbar->setObjectName(u"toolbar"_s);
    m_toolbar->setMovable(false);
    m_toolbar->setFloatable(false);
    m_toolbar->setIconSize(QSize(kToolbarIconSize, kToolbarIconSize));
    m_toolbar->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    m_toolbar->setContentsMargins(kToolbarIndent, 0, 0, 0);

    struct Button {
        Command command;
        TextKey caption;
        BuiltInImages::Toolbar icon;
        bool separatorBefore;
    };
    const Button buttons[] = {
        {Command::ToolbarNew, TextKey::MEN00004, BuiltInImages::New, false},
        {Command::ToolbarOpen, TextKey::MEN00005, BuiltInImages::Open, false},
        {Command::ToolbarSave, TextKey::MEN00006, BuiltInImages::Save, false},
        {Command::ToolbarResults, TextKey::MEN00020, BuiltInImages::Results, true},
        {Command::ToolbarProfile, TextKey::MEN00021, BuiltInImages::Profile, true},
        {Command::ToolbarReport, TextKey::MEN00022, BuiltInImages::Report, false},
    };
    const QFontMetrics metrics(m_toolbar->font());
    for (const Button& button : buttons) {
        if (button.separatorBefore)
            m_toolbar->addSeparator();
        const QString caption = uiText(button.caption);
        QAction* action = m_toolbar->addAction(iconAtEveryDensity(BuiltInImages::toolbarPicture(button.icon)), caption);
        const Command command = button.command;
        connect(action, &QAction::triggered, this, [this, command] { trigger(command); });
        m_actions[command] = action;
        if (QWidget* widget = m_toolbar->widgetForAction(action))
            widget->setFixedWidth(std::max(metrics.horizontalAdvance(caption) + 10, kToolbarButtonMinimumWidth));
    }
    m_toolbar->adjustSize();
    m_toolbar->move(0, 0);
    nameOverflowButton(*m_toolbar, u"qt_toolbar_ext_button"_s, TextKey::TXT00568);
}

void MainWindow::setHandler(Command command, std::function<void()> handler)
{
    m_handlers[command] = std::move(handler);
    updateEnabledCommands();
}

void MainWindow::trigger(Command command)
{
    const auto handler = m_handlers.find(menuTwin(command));
    if (handler != m_handlers.end() && handler->second)
        handler->second();
}

QAction* MainWindow::action(Command command) const
{
    const auto found = m_actions.find(command);
    return found == m_actions.end() ? nullptr : found->second;
}

void MainWindow::setAvailable(Command command, bool available)
{
    if (available)
        m_unavailable.erase(command);
    else
        m_unavailable.insert(command);
    updateEnabledCommands();
}

void MainWindow::setCaption(Command command, const QString& caption)
{
    if (QAction* found = action(command))
        found->setText(caption);
}

void MainWindow::updateEnabledCommands()
{
    // A command whose feature is not there does not pretend to work.
    for (const auto& [command, action] : m_actions) {
        const Command twin = menuTwin(command);
        action->setEnabled(m_handlers.contains(twin) && !m_unavailable.contains(twin));
    }
}

QSize MainWindow::minimumClientSize() const
{
    return kMinimumSize - QSize(0, menuBar()->sizeHint().height());
}

void MainWindow::resizeClient(QSize clientSize)
{
    const QSize size = clientSize.expandedTo(minimumClientSize());
    const int menuHeight = menuBar()->sizeHint().height();
    resize(size.width(), size.height() + menuHeight);
    m_client->resize(size);
}

void MainWindow::closeWithoutQuestion()
{
    m_closing = true;
    close();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    if (m_closing) {
        event->accept();
        return;
    }
    event->ignore();
    if (m_closeBoxHandler)
        m_closeBoxHandler();
}

void MainWindow::dragEnterEvent(QDragEnterEvent* event)
{
    // Files only: a link from a web page is not something the program can open.
    const QList<QUrl> urls = event->mimeData()->urls();
    if (!urls.isEmpty() && std::all_of(urls.begin(), urls.end(), [](const QUrl& url) { return url.isLocalFile(); }))
        event->acceptProposedAction();
}

void MainWindow::dropEvent(QDropEvent* event)
{
    QStringList names;
    for (const QUrl& url : event->mimeData()->urls())
        names << url.toLocalFile();
    event->acceptProposedAction();
    dropFiles(names);
}

void MainWindow::dropFiles(const QStringList& names)
{
    raise();
    activateWindow();
    if (m_dropHandler)
        m_dropHandler(names);
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_client && event->type() == QEvent::Resize) {
        const QSize size = m_client->size();
        m_logo->move(size.width() - kLogoRightOffset, kLogoTop);
        if (m_resizeHandler)
            m_resizeHandler(size);
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace ponderix
