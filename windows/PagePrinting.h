#pragma once

#include <QString>

#include <functional>

class QImage;

namespace ponderix {

class Dialogs;

// Draws a page at a device pixel ratio (see evaluation/ResultPages.h); a null
// picture when there is no memory for it.
using PageRenderer = std::function<QImage(qreal scale)>;

// Prints a page image as a one-page job of that name on the printer the user
// picks (nothing when the dialog is cancelled): as large as the printable
// area allows, in its own proportions, from the area's top-left corner.
// `page` is the page at 1x, which fixes the size on paper; `renderAt` draws
// it again at the printer's resolution, so text and lines stay sharp on
// paper. Without a renderer, or without memory for the sharp page, the 1x
// page is stretched. Errors of the printer are not detected; the job is
// always ended.
void printPageImage(const QImage& page, const PageRenderer& renderAt, Dialogs& dialogs, const QString& jobName);

} // namespace ponderix
