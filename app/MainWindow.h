#pragma once

#include "app/Commands.h"

#include <QMainWindow>

#include <functional>
#include <map>
#include <set>

class QAction;
class QToolBar;

namespace ponderix {

struct BuiltInImages;
class PictureView;

// The main window: menu bar, toolbar, logo and the client area that holds the
// matrix view. Every menu item, toolbar button and shortcut arrives at one
// command table as its command number.
class MainWindow final : public QMainWindow {
    Q_OBJECT

public:
    // `clientSize` is raised to minimumClientSize() first.
    MainWindow(const BuiltInImages& images, QSize clientSize);

    QWidget* client() const { return m_client; }

    // The handler of a command number; a command without one is disabled.
    void setHandler(Command command, std::function<void()> handler);
    void trigger(Command command);
    QAction* action(Command command) const;
    // A command with a handler that has nothing to act on for now (Undo with
    // no step to undo) is disabled until it is available again.
    void setAvailable(Command command, bool available);
    void setCaption(Command command, const QString& caption);

    // The close box asks this handler instead of closing the window; the
    // program ends by leaving the event loop, not by closing its window.
    void setCloseBoxHandler(std::function<void()> handler) { m_closeBoxHandler = std::move(handler); }
    void setDropHandler(std::function<void(const QStringList&)> handler) { m_dropHandler = std::move(handler); }
    void setClientResizeHandler(std::function<void(QSize)> handler) { m_resizeHandler = std::move(handler); }

    // What a drop of files on the window does: the window comes to the front
    // and the drop handler gets the names.
    void dropFiles(const QStringList& names);

    // Size of the window such that its client area is `clientSize`, raised
    // to the smallest client area the window allows.
    void resizeClient(QSize clientSize);
    // The window's minimum size less the menu bar.
    QSize minimumClientSize() const;

    // Lets the window close without asking, once the quit question was answered.
    void closeWithoutQuestion();

    // The menu command a toolbar button stands for; other commands stand for themselves.
    static Command menuTwin(Command command);

protected:
    void closeEvent(QCloseEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildMenus();
    void buildToolbar();
    QAction* addCommand(QMenu* menu, Command command, const QString& caption, const QString& shortcutText = {});
    void updateEnabledCommands();

    QWidget* m_client = nullptr;
    QToolBar* m_toolbar = nullptr;
    PictureView* m_logo = nullptr;
    std::map<Command, QAction*> m_actions;
    std::map<Command, std::function<void()>> m_handlers;
    std::set<Command> m_unavailable;
    std::function<void()> m_closeBoxHandler;
    std::function<void(const QStringList&)> m_dropHandler;
    std::function<void(QSize)> m_resizeHandler;
    bool m_closing = false;
};

} // namespace ponderix
