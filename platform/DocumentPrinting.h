#pragma once

class QPagedPaintDevice;
class QTextDocument;

namespace ponderix {

// Prints a document laid out for the screen onto the pages of a printer or
// PDF writer, at the size it has on a 96 dpi screen, within the device's
// margins (2 cm where it has none);
// a document wider than the paper is shrunk to fit it across.
// The document itself is left as it is.
void printDocument(const QTextDocument& document, QPagedPaintDevice& device);

} // namespace ponderix
