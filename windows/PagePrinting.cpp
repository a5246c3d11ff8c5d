#include "windows/PagePrinting.h"

#include "evaluation/ResultPages.h"
#include "export/PrintFit.h"
#include "platform/Dialogs.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <algorithm>

namespace ponderix {

namespace {

// The ratio a page of `logicalWidth` pixels is drawn at to fill
// `fittedWidth` printer pixels: at least 1, at most the largest a page is
// drawn at (past it the printer stretches what it gets).
qreal printScale(int logicalWidth, int fittedWidth)
{
    if (logicalWidth < 1 || fittedWidth <= logicalWidth)
        return kSmallestPageScale;
    return std::min(static_cast<qreal>(fittedWidth) / logicalWidth, kLargestPageScale);
}

} // namespace

void printPageImage(const QImage& page, const PageRenderer& renderAt, Dialogs& dialogs, const QString& jobName)
{
    const std::unique_ptr<QPrinter> printer = dialogs.choosePrinter(jobName);
    if (!printer)
        return;
    // Starting to paint starts the job and its page; painting is relative to
    // the printable area, whose metrics the printer gives in the same terms.
    QPainter painter(printer.get());
    if (!painter.isActive())
        return;
    const PrintableArea area{printer->widthMM(), printer->heightMM(), printer->width()};
    const QSize size = fittedPrinterPixels(page.size(), area);
    if (size.width() >= 1 && size.height() >= 1) {
        // Drawn again with the printer's pixels as its own, the page lands on
        // paper nearly pixel for pixel instead of as a blown-up screen image.
        const qreal scale = printScale(page.width(), size.width());
        QImage sharp = renderAt && scale > kSmallestPageScale ? renderAt(scale) : QImage();
        if (sharp.isNull()) {
            sharp = page;
        } else {
            // Painted by its pixels into the fitted rectangle, not by its
            // logical size.
            sharp.setDevicePixelRatio(1.0);
            painter.setRenderHint(QPainter::SmoothPixmapTransform, true);
        }
        // JPEG, which a PDF printer would use otherwise, rings around every
        // letter; the page is mostly flat colour and compresses well anyway.
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        painter.drawImage(QRect(QPoint(0, 0), size), sharp);
    }
    painter.end();
}

} // namespace ponderix
