#pragma once

#include <QSize>

namespace ponderix {

// What the printer tells about its printable area, read once per job.
struct PrintableArea {
    int widthMm = 0;
    int heightMm = 0;
    int widthPixels = 0; // converts millimetres to printer pixels in both directions
};

// Nearest whole number, halves to the even neighbour (2.5 -> 2, 3.5 -> 4).
int roundHalfToEven(float value);

// The picture's size on paper in whole millimetres: as large as the printable
// area allows without changing its proportions, halved when both sides are
// under 300 pixels and quartered when both are under 100, so a small picture
// is not blown up into a blur. Empty for an empty image or area.
QSize fittedMillimetres(QSize imagePixels, int areaWidthMm, int areaHeightMm);

// The same size in printer pixels. The horizontal resolution serves both
// directions, so a printer with unequal resolutions prints it distorted.
QSize fittedPrinterPixels(QSize imagePixels, const PrintableArea& area);

} // namespace ponderix
