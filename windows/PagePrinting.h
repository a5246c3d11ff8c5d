#pragma once

#include <QString>

#include <functional>

class QImage;
class QPainter;

namespace ponderix {

class Dialogs;

// Paints a page in its own (logical) pixels onto any painter (see
// evaluation/ResultPages.h).
using PagePainter = std::function<void(QPainter&)>;

// Prints a page as a one-page job of that name on the printer the user picks
// (nothing when the dialog is cancelled): as large as the printable area
// allows, in its own proportions, from the area's top-left corner. `page` is
// the page at 1x, which fixes the size on paper; `paint` paints it again
// straight onto the printer, so text and lines are drawn at the printer's
// resolution, whatever it is, and the page's pictures at up to
// kLargestPageScale. Without a painter the 1x page is stretched. Errors of
// the printer are not detected; the job is always ended.
void printPageImage(const QImage& page, const PagePainter& paint, Dialogs& dialogs, const QString& jobName);

} // namespace ponderix
