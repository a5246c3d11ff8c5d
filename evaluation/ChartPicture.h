#pragma once

#include <QImage>
#include <QPoint>
#include <QSize>
#include <QString>

namespace ponderix {

// Reads a chart file written by the chart component, with libpng, as an
// opaque RGB32 picture. A missing, damaged or absurdly large file gives a
// null image; nothing in it can end the process.
QImage readChartPicture(const QString& path);

struct ChartEntryPoints;

// Chart `id`, made at `size`, written to `path` at `scale` times that size
// and read back as a picture carrying that ratio, so that it stands on a page
// at its own size in the page's pixels. The chart is deleted either way; null
// when no picture came of it. A file of that name is removed first, so a
// chart of an earlier project never stands in for this one.
// `origin` is where the page puts the chart's top left corner.
QImage drawChartPicture(const ChartEntryPoints& rmc, int id, QSize size, qreal scale, const QString& path,
                        QPoint origin);

// While a page's texts are recorded (PageTextRecorder), the texts the chart
// component wrote in its last draw of chart `id` join them, placed on the
// page with the chart's top left corner at `origin`.
void noteChartTexts(const ChartEntryPoints& rmc, int id, QPoint origin);

} // namespace ponderix
