#include "platform/DocumentPrinting.h"

#include <QPageLayout>
#include <QPagedPaintDevice>
#include <QTextDocument>

#include <memory>

namespace ponderix {

namespace {

// Style sizes in pixels mean pixels of a 96 dpi screen, as in a browser.
constexpr qreal kLayoutPixelsPerPoint = 96.0 / 72.0;
constexpr qreal kPageMarginMillimetres = 20.0;

} // namespace

void printDocument(const QTextDocument& document, QPagedPaintDevice& device)
{
    // Left to itself, a document without a page size is laid out in the
    // printer's own pixels: a font of 12 pixels then comes out at 1200 dpi,
    // under a point high. Laid out on pages measured in screen pixels, it is
    // scaled onto the paper at the size the screen shows.
    const std::unique_ptr<QTextDocument> pages(document.clone());
    // The margins belong to the paper, not to the document: a table that runs
    // on over a page break would otherwise paint its background across the
    // bottom and top margins in between.
    pages->setDocumentMargin(0);
    if (device.pageLayout().margins().isNull()) {
        device.setPageMargins(QMarginsF(kPageMarginMillimetres, kPageMarginMillimetres, kPageMarginMillimetres,
                                        kPageMarginMillimetres),
                              QPageLayout::Millimeter);
    }
    const QSizeF printable = device.pageLayout().paintRect(QPageLayout::Point).size() * kLayoutPixelsPerPoint;
    pages->setPageSize(printable);
    // A table wider than the paper would lose its right-hand columns; like a
    // browser, print it smaller so that all of it fits across.
    const qreal needed = pages->idealWidth();
    if (needed > printable.width())
        pages->setPageSize(printable * (needed / printable.width()));
    pages->print(&device);
}

} // namespace ponderix
