#include "windows/ModalWindow.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QPointer>
#include <QWidget>
#include <QWindow>

namespace ponderix {

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

QAccessibleInterface* dialogAccessible(const QString&, QObject* object)
{
    auto* widget = qobject_cast<QWidget*>(object);
    if (!widget || !widget->isWindow() || !widget->property(kDialogRole).toBool())
        return nullptr;
    // A window's name is its title.
    return new QAccessibleWidget(widget, QAccessible::Dialog);
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
