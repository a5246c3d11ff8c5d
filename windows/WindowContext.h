#pragma once

#include "document/Document.h"

#include <QString>

class QWidget;

namespace ponderix {

class ChartLibrary;
class Dialogs;
struct ApplicationFolders;
struct Settings;

// What the result, profile and report windows and the exports need from the
// running program. The project and its banner are the open document's: a
// window that stays open follows its changes.
struct WindowContext {
    Document& document;
    Settings& settings; // image and export choices are remembered here
    Dialogs& dialogs;
    const ApplicationFolders& folders;
    const ChartLibrary* charts; // null: pages without charts
    QWidget* mainWindow;        // owner; disabled while a window is open
    int desktopHeight;

    // Read-only: a window that scores works on its own copy (scoredCopy).
    const Project& project() const { return document.project(); }
    const QString& banner() const { return document.banner(); }
};

} // namespace ponderix
