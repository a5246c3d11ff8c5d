#pragma once

#include <QString>

class QImage;

namespace ponderix {

class Dialogs;

// Prints a page image as a one-page job of that name on the printer the user
// picks (nothing when the dialog is cancelled): as large as the printable
// area allows, in its own proportions, from the area's top-left corner.
// Errors of the printer are not detected; the job is always ended.
void printPageImage(const QImage& page, Dialogs& dialogs, const QString& jobName);

} // namespace ponderix
