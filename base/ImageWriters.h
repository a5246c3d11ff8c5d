#pragma once

#include "base/AtomicFile.h"

#include <QByteArray>
#include <QRgb>
#include <QString>

#include <cstdint>
#include <optional>
#include <vector>

class QImage;

namespace ponderix {

enum class ImageFormat { Jpeg, Gif, Png, Bmp, Tiff };

// "jpg", "gif", "png", "bmp" or "tif"; anything else, "jpeg" and upper case
// included, names no format. The caller lower-cases what the user typed.
std::optional<ImageFormat> imageFormatForExtension(const QString& lowerCaseExtension);

// Encodes the image in memory and then replaces `path` in one step, so a
// failure at any stage (encoder, disk full, no such folder) leaves whatever
// was there before untouched. JPEG at quality 90, PNG / BMP / TIFF as 8-bit
// RGB, GIF from reduceTo256Colours.
WriteResult writeImageFile(const QImage& image, const QString& path, ImageFormat format);
// The same for a scratch file of the program's own, written with writeNewFile.
WriteResult writeNewImageFile(const QImage& image, const QString& path, ImageFormat format);
// An 8-bit RGB PNG in `bytes` alone, for a picture carried inside another
// document that holds many of them: one filter and zlib's fastest level, so
// larger than writeImageFile's but written in a fraction of the time.
// `bytes` is left empty on failure.
WriteResult encodeEmbeddedPng(const QImage& image, QByteArray& bytes);

// An 8-bit copy of an image: `indexes` holds width x height palette indexes,
// row by row from the top; `palette` always has 256 opaque entries.
struct PaletteImage {
    std::vector<QRgb> palette;
    std::vector<std::uint8_t> indexes;
    int width = 0;
    int height = 0;
};

// Samples the sorted list of the image's pixel values (plus one extra black)
// at even intervals, skipping runs of the colour just taken; entry 0 is
// therefore always black. Each pixel then gets the palette entry nearest to
// it in RGB space (squared distance), the lowest index on a tie.
PaletteImage reduceTo256Colours(const QImage& image);

} // namespace ponderix
