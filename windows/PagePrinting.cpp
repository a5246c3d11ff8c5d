#include "windows/PagePrinting.h"

#include "export/PrintFit.h"
#include "platform/Dialogs.h"

#include <QImage>
#include <QPainter>
#include <QPrinter>

namespace ponderix {

void printPageImage(const QImage& page, Dialogs& dialogs, const QString& jobName)
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
    if (size.width() >= 1 && size.height() >= 1)
        painter.drawImage(QRect(QPoint(0, 0), size), page);
    painter.end();
}

} // namespace ponderix
