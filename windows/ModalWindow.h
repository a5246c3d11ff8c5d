#pragma once

#include <QSize>

class QWidget;

namespace ponderix {

// Shows `window` centred on the main window and modal over it: the main
// window takes no input from now until `window` is closed, hidden or
// destroyed, whichever way that happens, and then gets its input and the
// keyboard back, so F1 or F3 work again at once. A window of its own (not a
// child of the main window) is kept above the main window and goes with it.
// `mainWindow` may be null: the window is then simply shown.
void showModalOver(QWidget& window, QWidget* mainWindow);

// Lets assistive technology see `window` as a dialog named by its title, so
// that the title is announced as the window opens.
void announceAsDialog(QWidget& window);

// The results, profile and report windows share this size, the main
// window's first-start size: shorter on small desktops.
QSize resultWindowSize(int desktopHeight);

} // namespace ponderix
