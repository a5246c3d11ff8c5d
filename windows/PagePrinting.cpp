#include "windows/PagePrinting.h"

#include "export/PrintFit.h"
#include "platform/Dialogs.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

namespace ponderix {

void printPageImage(const QImage& page, const PagePainter& paint, Dialogs& dialogs, const QString& jobName)
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
    if (size.width() >= 1 && size.height() >= 1 && !page.isNull()) {
        // JPEG, which a PDF printer would use otherwise, rings around every
        // letter; the pictures are mostly flat colour and compress well anyway.
        painter.setRenderHint(QPainter::LosslessImageRendering, true);
        if (paint) {
            // The page's own pixels mapped onto the fitted rectangle: the
            // page lands where the 1x picture would, drawn as finely as the
            // printer prints.
            painter.scale(static_cast<qreal>(size.width()) / page.width(),
                          static_cast<qreal>(size.height()) / page.height());
            const QRect sheet(QPoint(0, 0), page.size());
            painter.setClipRect(sheet);
            painter.fillRect(sheet, Qt::white);
            paint(painter);
        } else {
            painter.drawImage(QRect(QPoint(0, 0), size), page);
        }
    }
    painter.end();
}

} // namespace ponderix
