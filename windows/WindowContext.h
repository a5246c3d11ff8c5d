#pragma once

#include <QString>

class QWidget;

namespace ponderix {

class ChartLibrary;
class Dialogs;
class Project;
struct ApplicationFolders;
struct Settings;

// What the result, profile and report windows and the exports need from the
// running program. The windows are modal: while one is open the project
// cannot change under it.
struct WindowContext {
    Project& project;
    Settings& settings; // image and export choices are remembered here
    Dialogs& dialogs;
    const ApplicationFolders& folders;
    const ChartLibrary* charts; // null: pages without charts
    QWidget* mainWindow;        // owner; disabled while a window is open
    QString banner;             // the project banner's text
    int desktopHeight;
};

} // namespace ponderix
