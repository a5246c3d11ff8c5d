#include "export/PrintFit.h"

#include <cmath>

namespace ponderix {

namespace {

constexpr int kHalfSizeBelow = 300;
constexpr int kQuarterSizeBelow = 100;

float scaleFactor(QSize imagePixels)
{
    if (imagePixels.width() < kQuarterSizeBelow && imagePixels.height() < kQuarterSizeBelow)
        return 0.25f;
    if (imagePixels.width() < kHalfSizeBelow && imagePixels.height() < kHalfSizeBelow)
        return 0.5f;
    return 1.0f;
}

} // namespace

int roundHalfToEven(float value)
{
    const float lower = std::floor(value);
    const float fraction = value - lower;
    const int whole = static_cast<int>(lower);
    if (fraction > 0.5f)
        return whole + 1;
    if (fraction < 0.5f)
        return whole;
    return whole % 2 == 0 ? whole : whole + 1;
}

QSize fittedMillimetres(QSize imagePixels, int areaWidthMm, int areaHeightMm)
{
    if (imagePixels.isEmpty() || areaWidthMm <= 0 || areaHeightMm <= 0)
        return {};
    // Single precision throughout, so that a ratio on the edge decides the
    // same way on every machine.
    const float pageRatio = static_cast<float>(areaWidthMm) / static_cast<float>(areaHeightMm);
    const float imageRatio = static_cast<float>(imagePixels.width()) / static_cast<float>(imagePixels.height());
    const float factor = scaleFactor(imagePixels);
    const float width = static_cast<float>(areaWidthMm);
    const float height = static_cast<float>(areaHeightMm);
    if (imageRatio > pageRatio)
        return {roundHalfToEven(width * factor), roundHalfToEven(width / imageRatio * factor)};
    return {roundHalfToEven(height * imageRatio * factor), roundHalfToEven(height * factor)};
}

QSize fittedPrinterPixels(QSize imagePixels, const PrintableArea& area)
{
    const QSize millimetres = fittedMillimetres(imagePixels, area.widthMm, area.heightMm);
    if (millimetres.isEmpty())
        return {};
    const float pixelsPerMm = static_cast<float>(area.widthPixels) / static_cast<float>(area.widthMm);
    return {roundHalfToEven(static_cast<float>(millimetres.width()) * pixelsPerMm),
            roundHalfToEven(static_cast<float>(millimetres.height()) * pixelsPerMm)};
}

} // namespace ponderix
