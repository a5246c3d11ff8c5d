#pragma once

#include <QImage>
#include <QString>

namespace ponderix {

// Reads a chart file written by the chart component, with libpng, as an
// opaque RGB32 picture. A missing, damaged or absurdly large file gives a
// null image; nothing in it can end the process.
QImage readChartPicture(const QString& path);

} // namespace ponderix
