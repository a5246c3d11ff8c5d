#include "windows/ModalWindow.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QHash>
#include <QPointer>
#include <QTabBar>
#include <QWidget>
#include <QWindow>

namespace ponderix {

using namespace Qt::StringLiterals;

namespace {

// Lives as long as the modal window and watches it go.
class MainWindowLock final : public QObject {
public:
    MainWindowLock(QWidget& window, QWidget& mainWindow, bool ownWindow) : QObject(&window), m_mainWindow(&mainWindow)
    {
        window.installEventFilter(this);
        // The main window announces its end before it takes its children
        // along; from then on there is nothing left to give input back to.
        connect(&mainWindow, &QObject::destroyed, this, [this, &window, ownWindow] {
            m_mainWindow.clear();
            if (ownWindow)
                delete &window;
        });
        mainWindow.setEnabled(false);
    }

    ~MainWindowLock() override { release(); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        // Closing ends in a hide that the program itself makes; the window
        // system's own hides (minimising) leave the lock in place.
        if (event->type() == QEvent::Hide && !event->spontaneous())
            release();
        return QObject::eventFilter(watched, event);
    }

private:
    void release()
    {
        if (!m_mainWindow)
            return;
        QWidget* mainWindow = m_mainWindow;
        m_mainWindow.clear();
        mainWindow->setEnabled(true);
        mainWindow->activateWindow();
    }

    QPointer<QWidget> m_mainWindow;
};

void centreOn(QWidget& window, const QWidget& owner, bool ownWindow)
{
    // A window's frame is not known before it is shown; the owner's frame is
    // the best guess of its size.
    const QSize frameExtra = ownWindow ? owner.frameGeometry().size() - owner.geometry().size() : QSize();
    QRect frame(QPoint(), window.size() + frameExtra);
    frame.moveCenter(owner.frameGeometry().center());
    window.move(frame.topLeft());
}

constexpr char kDialogRole[] = "ponderixDialogRole";

// One tab of a dialog's tab bar. Qt's own tab says it has the focus
// whenever it is the current one, even while the focus is on its page or a
// button; this one only while the tab bar has the focus.
class DialogTab final : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    DialogTab(QTabBar* bar, int index) : m_bar(bar), m_index(index) { }

    bool isValid() const override { return m_bar && m_index < m_bar->count(); }
    QObject* object() const override { return nullptr; }
    QWindow* window() const override { return parent()->window(); }
    QAccessibleInterface* parent() const override { return QAccessible::queryAccessibleInterface(m_bar.data()); }
    QAccessibleInterface* child(int) const override { return nullptr; }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface*) const override { return -1; }
    QAccessible::Role role() const override { return QAccessible::PageTab; }
    QString text(QAccessible::Text kind) const override
    {
        if (!isValid() || kind != QAccessible::Name)
            return {};
        return m_bar->accessibleTabName(m_index).isEmpty() ? QString(m_bar->tabText(m_index)).remove(u'&')
                                                           : m_bar->accessibleTabName(m_index);
    }
    void setText(QAccessible::Text, const QString&) override { }
    QRect rect() const override
    {
        if (!isValid())
            return {};
        const QRect tab = m_bar->tabRect(m_index);
        return {m_bar->mapToGlobal(tab.topLeft()), tab.size()};
    }
    QAccessible::State state() const override
    {
        QAccessible::State state;
        if (!isValid()) {
            state.invalid = true;
            return state;
        }
        const bool current = m_index == m_bar->currentIndex();
        state.selectable = true;
        state.focusable = true;
        state.selected = current;
        state.focused = current && m_bar->hasFocus();
        state.invisible = !m_bar->isVisible() || !m_bar->isTabVisible(m_index);
        state.disabled = !m_bar->isTabEnabled(m_index);
        return state;
    }
    void* interface_cast(QAccessible::InterfaceType type) override
    {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }
    QStringList actionNames() const override { return {pressAction()}; }
    void doAction(const QString& name) override
    {
        if (isValid() && name == pressAction())
            m_bar->setCurrentIndex(m_index);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    QPointer<QTabBar> m_bar;
    int m_index;
};

// A dialog's tab bar and tab widget pass the focus on to the current tab:
// the tab the user is on is the one control that says it has the focus.
class DialogTabBar final : public QAccessibleWidget {
public:
    explicit DialogTabBar(QTabBar* bar) : QAccessibleWidget(bar, QAccessible::PageTabList) { }
    ~DialogTabBar() override
    {
        for (const QAccessible::Id id : std::as_const(m_tabs))
            QAccessible::deleteAccessibleInterface(id);
    }

    int childCount() const override { return bar()->count(); }
    QAccessibleInterface* child(int index) const override
    {
        if (index < 0 || index >= bar()->count())
            return nullptr;
        if (!m_tabs.contains(index))
            m_tabs.insert(index, QAccessible::registerAccessibleInterface(new DialogTab(bar(), index)));
        return QAccessible::accessibleInterface(m_tabs.value(index));
    }
    int indexOfChild(const QAccessibleInterface* child) const override
    {
        for (auto tab = m_tabs.cbegin(); tab != m_tabs.cend(); ++tab) {
            if (QAccessible::accessibleInterface(tab.value()) == child)
                return tab.key();
        }
        return -1;
    }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.focused = false;
        return state;
    }

private:
    QTabBar* bar() const { return static_cast<QTabBar*>(widget()); }

    mutable QHash<int, QAccessible::Id> m_tabs;
};

class DialogTabWidget final : public QAccessibleWidget {
public:
    explicit DialogTabWidget(QWidget* tabs) : QAccessibleWidget(tabs, QAccessible::Client) { }
    QAccessible::State state() const override
    {
        QAccessible::State state = QAccessibleWidget::state();
        state.focused = false;
        return state;
    }
};

QAccessibleInterface* dialogAccessible(const QString& className, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->window()->property(kDialogRole).toBool())
        return nullptr;
    // A window's name is its title.
    if (widget->isWindow())
        return new QAccessibleWidget(widget, QAccessible::Dialog);
    if (className == u"QTabBar"_s)
        return new DialogTabBar(static_cast<QTabBar*>(widget));
    if (className == u"QTabWidget"_s)
        return new DialogTabWidget(widget);
    return nullptr;
}

} // namespace

void announceAsDialog(QWidget& window)
{
    static const bool installed = [] {
        QAccessible::installFactory(dialogAccessible);
        return true;
    }();
    Q_UNUSED(installed);
    window.setProperty(kDialogRole, true);
}

void showModalOver(QWidget& window, QWidget* mainWindow)
{
    if (!mainWindow) {
        window.show();
        return;
    }
    QWidget& owner = *mainWindow->window();
    const bool ownWindow = window.parentWidget() != mainWindow;
    centreOn(window, owner, ownWindow);
    if (ownWindow) {
        window.winId();
        if (window.windowHandle() && owner.windowHandle())
            window.windowHandle()->setTransientParent(owner.windowHandle());
    }
    window.show();
    new MainWindowLock(window, *mainWindow, ownWindow);
    // Disabling the main window disables the windows it owns along with it;
    // this one must stay usable.
    window.setEnabled(true);
}

QSize resultWindowSize(int desktopHeight)
{
    return {760, desktopHeight <= 600 ? 540 : 630};
}

} // namespace ponderix
