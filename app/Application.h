#pragma once

#include "base/SettingsFile.h"
#include "document/Document.h"
#include "platform/Folders.h"
#include "project/Project.h"
#include "windows/WindowContext.h"

#include <QPointer>
#include <QRect>
#include <QSize>
#include <QStringList>

#include <memory>
#include <optional>

namespace ponderix {

class ChartWindow;
class ChartLibrary;
class Dialogs;
class EditingCommands;
class MainWindow;
class MatrixView;
class ProjectFiles;
class RecoveryKeeper;
class SingleInstance;

// The program from start-up to shut-down: it owns the document, the settings,
// the folders and the main window, and wires every command to its handler.
class Application final {
public:
    struct Environment {
        QStringList arguments;                     // without the program name
        Dialogs* dialogs = nullptr;                // nullptr: the real dialogs
        std::optional<ApplicationFolders> folders; // tests put everything in a sandbox
    };

    explicit Application(Environment environment);
    ~Application();

    enum class Start { Running, SecondInstance };
    Start start();
    // Reads back the geometry, writes the settings, records the program folder,
    // closes the window and removes the temporary folder.
    void shutDown();

    // The quit question; true when the program should end.
    bool confirmQuit();
    // The Quit command and the close box: asks, then leaves the event loop.
    void quitIfConfirmed();

    Document& document() { return m_document; }
    const Project& project() const { return m_document.project(); }
    Settings& settings() { return m_settings; }
    const ApplicationFolders& folders() const { return m_folders; }
    MainWindow& mainWindow() { return *m_window; }
    MatrixView& matrixView() { return *m_view; }
    ProjectFiles& projectFiles() { return *m_files; }
    EditingCommands& editing() { return *m_editing; }
    RecoveryKeeper& recovery() { return *m_recovery; }
    // Saves under `path` (asking for one when empty).
    bool saveProject(const QString& path);
    Dialogs& dialogs() { return *m_dialogs; }
    int desktopHeight() const { return m_desktopHeight; }
    // What the result windows and exports are opened with.
    WindowContext windowContext();
    // Lets the user choose the members' files and shows the team window.
    void combineTeam();
    // Null when the chart component could not be loaded: pages go without charts.
    const ChartLibrary* charts() const { return m_charts.get(); }

private:
    void prepareFolders();
    void loadCharts();
    void readSettings();
    void createMainWindow();
    void registerCommands();
    void connectHistory();
    // Recovery and the settings follow the document.
    void followDocument();
    void openFirstProject();
    // The project file named on the command line, made absolute.
    QString fileGivenAtStart() const;
    // Says so when the file named at start-up cannot be found or reached.
    void reportUnreachableStartFile(const QString& path);
    // Writes the open project's path and folder to the settings at once.
    void rememberLastProject();
    void writeSettings();
    // Offers the unsaved work a crash left behind; true when it was restored
    // and takes the place of the first project.
    bool offerRecovery();
    void handleDrop(const QStringList& names);
    void chooseCriteriaAddWidth(int width);
    void runEditCommand(int command);
    void showSignature();
    void showAbout();
    // Opens the robustness window, or brings the open one to the front.
    void showRobustness();

    Environment m_environment;
    Document m_document;
    Settings m_settings;
    ApplicationFolders m_folders;
    QString m_temporaryProblem;           // why the temporary folder could not be made
    QString m_stateProblem;               // why the state folder could not be made
    bool m_stateOthersCouldWrite = false; // what is in it is then not offered
    int m_desktopHeight = 0;
    std::unique_ptr<SingleInstance> m_instance;
    std::unique_ptr<Dialogs> m_ownDialogs;
    std::unique_ptr<ChartLibrary> m_charts;
    Dialogs* m_dialogs = nullptr;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<MatrixView> m_view;
    std::unique_ptr<ProjectFiles> m_files;
    std::unique_ptr<EditingCommands> m_editing;
    std::unique_ptr<RecoveryKeeper> m_recovery;
    QPointer<ChartWindow> m_robustness; // the one live robustness window
};

// The main window's size on a first start: shorter on small desktops.
QSize defaultWindowSize(int desktopHeight);

// Where the main window opens: the stored geometry when it is usable
// (x and y above -1, width and height above 0), else nothing: centre the
// default size on the screen.
std::optional<QRect> storedWindowGeometry(const Settings& settings);

// A stored window (client area) made to fit the screen's available area with
// the menu bar above it: no larger than that, no smaller than the window's
// minimum client area, and moved inside it.
QRect fittedToScreen(const QRect& stored, const QRect& available, QSize minimumClient, int menuHeight);

} // namespace ponderix
