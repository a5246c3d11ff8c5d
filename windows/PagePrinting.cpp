#include "windows/PagePrinting.h"

#include "evaluation/ResultPages.h"
#include "export/PrintFit.h"
#include "platform/Dialogs.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

#include <algorithm>
#include <cmath>

namespace ponderix {

namespace {

// About 128 MB as a picture, and as much again while the printer takes it:
// a tall page on an A4 sheet at 600 dpi. A finer printer stretches the page
// it gets a little, which is still far finer than the screen's pixels.
constexpr qreal kLargestPrintPixels = 32'000'000.0;

// The ratio a page of `logical` pixels is drawn at to fill `fittedWidth`
// printer pixels: at least 1, at most what the limits allow.
qreal printScale(QSize logical, int fittedWidth)
{
    if (logical.isEmpty() || fittedWidth <= logical.width())
        return kSmallestPageScale;
    const qreal withinMemory =
        std::sqrt(kLargestPrintPixels / (static_cast<qreal>(logical.width()) * logical.height()));
    return std::clamp(std::min(static_cast<qreal>(fittedWidth) / logical.width(), withinMemory), kSmallestPageScale,
                      kLargestPageScale);
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
        const qreal scale = printScale(page.size(), size.width());
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
